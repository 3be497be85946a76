# The random commands of an employee at the stopwatch window, shared by the office load tool and
# the crash test's worker; included by both, defined by the first. Depends on the session only.
if(NOT TARGET orv_workload)
    add_library(orv_workload STATIC ${CMAKE_CURRENT_LIST_DIR}/Workload.cpp)
    target_include_directories(orv_workload PUBLIC ${CMAKE_CURRENT_LIST_DIR})
    target_link_libraries(orv_workload PUBLIC orv_session)
endif()
