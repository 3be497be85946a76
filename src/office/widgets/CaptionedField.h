#pragma once

#include <QWidget>

class QHBoxLayout;
class QLabel;

namespace orv::office {

// What the office's input widgets share: a caption in front of the input, locking (read-only,
// still focusable and copyable) and the marking of a field that must be filled.
class CaptionedField : public QWidget {
    Q_OBJECT
public:
    QString Caption() const;
    // An empty caption hides the label.
    void Caption(const QString& caption);
    // Lines up the inputs of fields placed one under another.
    void CaptionWidth(int pixels);
    int captionWidthHint() const;
    bool Locked() const { return locked_; }
    void Locked(bool locked);
    bool Required() const { return required_; }
    void Required(bool required);

protected:
    explicit CaptionedField(QWidget* parent);
    // Puts the input behind the caption; further widgets (a button) follow it.
    void addInput(QWidget* input, int stretch = 1);
    virtual void applyLocked(bool locked) = 0;
    // F4 on the input opens the field's pop-up; false when it has none (or it cannot open now).
    virtual bool openPopup() { return false; }
    bool eventFilter(QObject* watched, QEvent* event) override;
    QWidget* input() const { return input_; }

private:
    QLabel* caption_;
    QHBoxLayout* layout_;
    QWidget* input_ = nullptr;
    bool locked_ = false;
    bool required_ = false;
};

}  // namespace orv::office
