#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace orv::stoppuhren {

// The requests to quit that come from outside the program: SIGTERM, SIGINT and SIGHUP (a
// terminal closed, a service stopped) and the desktop session's end. Each calls `quit` on the
// program's own thread, so the session ends as if the employee had quit it.
class QuitRequests final : public QObject {
    Q_OBJECT
public:
    explicit QuitRequests(std::function<bool()> quit);
    ~QuitRequests() override;

private:
    std::function<bool()> quit_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace orv::stoppuhren
