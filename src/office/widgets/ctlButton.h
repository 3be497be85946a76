#pragma once

#include <QPushButton>

namespace orv::office {

// The office's command button: a caption with its access key ("&OK") and a tooltip.
class ctlButton final : public QPushButton {
    Q_OBJECT
public:
    explicit ctlButton(QWidget* parent = nullptr);
    // A named button with its caption, as the windows lay them out.
    ctlButton(QWidget* parent, const char* name, const QString& caption);

    QString Caption() const { return text(); }
    void Caption(const QString& caption) { setText(caption); }
    void ToolTipText(const QString& tip) { setToolTip(tip); }
};

}  // namespace orv::office
