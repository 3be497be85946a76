#pragma once

#include "platform/host/OfficeServices.h"

namespace orv::office {

// The office's icons: small pictures drawn for this product and shipped inside it, so the
// windows look the same on every desktop.
class OfficeIconService final : public platform::IconService {
public:
    QString Icon(std::int32_t number) override;
};

}  // namespace orv::office
