#pragma once

#include <QString>
#include <QStringList>

namespace orv::test {

// One list of what the fakes of a test were asked, in order, across all of them: shows that the
// component stops the clock only after the user answered, brings a window up before it asks.
class CallJournal {
public:
    void add(const QString& entry) { entries_ << entry; }
    const QStringList& entries() const { return entries_; }
    // Position of the first entry equal to the text, -1 when there is none.
    qsizetype indexOf(const QString& entry) const { return entries_.indexOf(entry); }
    bool contains(const QString& entry) const { return entries_.contains(entry); }
    void clear() { entries_.clear(); }

private:
    QStringList entries_;
};

// Adds to the journal when a fake has one.
inline void note(CallJournal* journal, const QString& entry) {
    if (journal != nullptr) {
        journal->add(entry);
    }
}

}  // namespace orv::test
