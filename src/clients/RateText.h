#pragma once

#include <QString>
#include <optional>

namespace tempolatch {

class Rate;

// Texts of rates as the rate dialog and the rate trees show and read them.
namespace ratetext {

inline constexpr int DescriptionLimit = 63;
inline constexpr int RateLimit = 16;

// The numeric test of rate, duration and break texts: an empty text passes,
// any letter fails; digits, signs, separators and spaces pass.
bool passesNumericTest(const QString& text);

// The hundredths a rate text stands for: the leading number (after blanks,
// an optional sign, digits, an optional point and digits; the rest is
// ignored, so "7,5" is 7), with a third decimal dropped ("12.345" is 1234).
// An empty text is 0. nullopt when the text fails the numeric test or the
// value does not fit a rate.
std::optional<qint32> parseRate(const QString& text);

// "12.34" for 1234.
QString valueText(qint32 hundredths);
// "Consulting (12.34)": an item of a rate tree.
QString itemText(const Rate& rate);

}  // namespace ratetext

// What the rate dialog checks on OK.
struct RateInput {
    enum class Field { None, Description, Rate };

    int messageId = 0;  // 0: valid
    Field focus = Field::None;
    qint32 value = 0;

    bool isValid() const { return messageId == 0; }
};

RateInput checkRateInput(const QString& description, const QString& rateText);

}  // namespace tempolatch
