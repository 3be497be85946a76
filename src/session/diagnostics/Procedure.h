#pragma once

#include "session/diagnostics/ObjectTrace.h"

#include <QString>

#include <type_traits>
#include <utility>

namespace orv {

// What every procedure of the component does around its body: the "Begin"/"End" trace lines
// (no "End" when it leaves through an error) and the error handler. Procedures called from
// inside the component pass a failure on with their place added (run); the outermost ones —
// public methods, window events, the clock tick — show the problem report and end normally
// with the result reached so far (report).
//
//     Procedure p(trace_, "AuftragStarten");
//     return p.run([&] { ...; return true; });
class Procedure {
public:
    // A few small procedures called very often (the rights check) write no trace lines but
    // still handle their errors.
    enum class Tracing { Traced, Untraced };

    Procedure(const ObjectTrace& trace, const char* name, Tracing tracing = Tracing::Traced)
        : trace_(trace), name_(name), traced_(tracing == Tracing::Traced) {}

    // Extra information for the problem report while a risky step runs, such as the description
    // of an object creation that may fail.
    void setExtra(QString extra) { extra_ = std::move(extra); }
    void clearExtra() { extra_.clear(); }
    // A procedure whose exit line is not "End " + its name.
    void setEndText(QString text) { endText_ = std::move(text); }

    // The "Begin" line is written inside the handler: a trace logger that fails is an error of
    // the procedure like any other.
    template <typename F>
    decltype(auto) run(F&& body) {
        try {
            begin();
            if constexpr (std::is_void_v<std::invoke_result_t<F>>) {
                std::forward<F>(body)();
                finish();
            } else {
                auto result = std::forward<F>(body)();
                finish();
                return result;
            }
        } catch (...) {
            passOn();
        }
    }

    // Nothing thrown leaves a reporting procedure, not even from a problem report that fails:
    // the clock tick is delivered by a timer that must not see an exception.
    template <typename F, typename R>
    R report(F&& body, R reached) noexcept {
        try {
            begin();
            R result = std::forward<F>(body)();
            finish();
            return result;
        } catch (...) {
            reportFailure();
            return reached;
        }
    }

    template <typename F>
    void report(F&& body) noexcept {
        try {
            begin();
            std::forward<F>(body)();
            finish();
        } catch (...) {
            reportFailure();
        }
    }

private:
    void begin() const {
        if (traced_) {
            trace_.traceBegin(name_);
        }
    }
    void finish();
    // Hand the current exception to the error routine: re-raised with this procedure's place,
    // or shown as the problem report.
    [[noreturn]] void passOn();
    void reportFailure() noexcept;

    const ObjectTrace& trace_;
    const char* name_;
    bool traced_;
    QString extra_;
    QString endText_;
};

}  // namespace orv
