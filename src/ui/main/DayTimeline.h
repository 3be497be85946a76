#pragma once

#include <QWidget>

namespace orv {
struct Tagesuebersicht;
}

namespace orv::ui {

// The day drawn as a timeline: a lane of the logins with their pauses and external time, and a
// lane per order with its stretches as coloured blocks; what the blocks leave of a login is
// idle time. A block whose row holds seconds but no matching begin and end is hatched.
class DayTimeline final : public QWidget {
    Q_OBJECT
public:
    explicit DayTimeline(QWidget* parent = nullptr);

    // The day shown; the caller keeps it alive while it is shown.
    void setTag(const Tagesuebersicht* tag);
    // The colour of an order's blocks, also used by the totals beside the timeline.
    static QColor farbe(int auftrag);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int spuren() const;

    const Tagesuebersicht* tag_ = nullptr;
};

}  // namespace orv::ui
