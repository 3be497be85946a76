#include "WidgetHarness.h"

#include "office/widgets/Expression.h"

#include <optional>

namespace orv::office {
namespace {

TEST(OfficeWidgetsTest, CalculatorLinesInGermanNotation) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"1,5 + 2 × 3", 7.5},  {"(1+2)*3", 9.0},        {"10 ÷ 4", 2.5},
        {"9:3 − 1", 2.0},      {"-2 - -3", 1.0},        {"1,2,3", std::nullopt},
        {"2 +", std::nullopt}, {"1 / 0", std::nullopt}, {"(1", std::nullopt},
    };
    for (const auto& [line, value] : cases) {
        EXPECT_EQ(evaluateExpression(QString::fromUtf8(line)), value) << line;
    }
}

}  // namespace
}  // namespace orv::office
