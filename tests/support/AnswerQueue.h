#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>

namespace orv::test {

template <typename Signature>
class AnswerQueue;

// The answers a scripted user gives to one kind of question, in the order the test queued them;
// when none is queued, the standing answer if the test set one. A question nobody answered and an
// answer never asked for fail the test: the component asked something other than expected.
template <typename R, typename... Args>
class AnswerQueue<R(Args...)> {
public:
    using Answer = std::function<R(Args...)>;

    AnswerQueue(std::string question, R unanswered)
        : question_(std::move(question)), unanswered_(std::move(unanswered)) {}
    ~AnswerQueue() {
        if (!queued_.empty()) {
            ADD_FAILURE() << queued_.size() << " Antwort(en) auf " << question_
                          << " wurden nie abgefragt.";
        }
    }
    AnswerQueue(const AnswerQueue&) = delete;
    AnswerQueue& operator=(const AnswerQueue&) = delete;

    void answer(Answer answer) { queued_.push_back(std::move(answer)); }
    void answer(R value) {
        queued_.push_back([value](Args...) { return value; });
    }
    void answerWith(Answer standing) { standing_ = std::move(standing); }

    R ask(Args... args) {
        ++asked_;
        if (!queued_.empty()) {
            const Answer next = std::move(queued_.front());
            queued_.pop_front();
            return next(args...);
        }
        if (standing_) {
            return standing_(args...);
        }
        ADD_FAILURE() << question_ << " ohne vorbereitete Antwort.";
        return unanswered_;
    }
    int asked() const { return asked_; }

private:
    std::string question_;
    R unanswered_;
    std::deque<Answer> queued_;
    Answer standing_;
    int asked_ = 0;
};

}  // namespace orv::test
