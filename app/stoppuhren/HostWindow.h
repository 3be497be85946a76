#pragma once

#include <QWidget>

class QLabel;

namespace orv {
class _CStoppUhren;
}

namespace orv::stoppuhren {

// The desktop program's own small window, standing for the office application: it shows who
// is logged in, brings the stopwatches back, and quits the program, which ends the session
// first. The stopwatch window's close box only puts that window away.
class HostWindow final : public QWidget {
    Q_OBJECT
public:
    HostWindow(_CStoppUhren& component, const QString& employeeName);

    // Ends the session and quits; stays when the employee did not let the session end (the day
    // closing was cancelled). True when the program quits.
    bool quitProgram();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    _CStoppUhren& component_;
    bool ended_ = false;
};

}  // namespace orv::stoppuhren
