#pragma once

#include <QString>

#include <cstdint>

namespace orv::platform {

// The office's problem report window. Created anew for every report; creating it may fail.
class ErrorServer {
public:
    virtual ~ErrorServer() = default;
    virtual void TQ_gShowError(std::int32_t& number, QString& source, QString& description) = 0;
};

}  // namespace orv::platform
