#pragma once

#include <QString>

#include <cstdint>

namespace orv {

// One text line of a time entry: what the service text of a booking is made of.
class CText {
public:
    CText() = default;
    CText(std::int32_t textId, QString text) : textId_(textId), text_(std::move(text)) {}

    // 0 while the line is not stored.
    std::int32_t TextId() const { return textId_; }
    void TextId(std::int32_t id) { textId_ = id; }
    const QString& Text() const { return text_; }
    void Text(const QString& text) { text_ = text; }

private:
    std::int32_t textId_ = 0;
    QString text_;
};

}  // namespace orv
