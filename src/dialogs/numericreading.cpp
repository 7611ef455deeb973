#include "dialogs/numericreading.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace ovra {

namespace {

constexpr uint64_t kMax32 = 0xFFFFFFFFu;

bool isSkipped(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The text without the characters that are skipped wherever they stand. Anything
// outside ASCII ends the number, so it becomes a character no rule accepts.
std::string compact(QStringView text) {
    std::string out;
    out.reserve(size_t(text.size()));
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (isSkipped(c))
            continue;
        out.push_back(c < 0x80 && c != 0 ? char(c) : '\x01');
    }
    return out;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

int32_t widen16(uint64_t v) {
    return int32_t(int16_t(uint16_t(v)));
}
int32_t widen32(uint64_t v) {
    return int32_t(uint32_t(v));
}

// "&H" and "&O" literals. A short literal is a 16-bit value, as it always was for
// hexadecimal colour texts of up to four digits; longer ones are 32-bit.
std::optional<int32_t> readRadix(const std::string& s, size_t pos, int base, int shortDigits) {
    uint64_t value = 0;
    int digits = 0;
    for (; pos < s.size(); ++pos) {
        const int d = digitValue(s[pos], base);
        if (d < 0)
            break;
        value = value * uint64_t(base) + uint64_t(d);
        if (value > kMax32)
            return std::nullopt;
        ++digits;
    }
    if (digits <= shortDigits && value <= 0xFFFFu)
        return widen16(value);
    return widen32(value);
}

// Power of ten of the leading significant digit, used only to tell an underflow
// (which reads as 0) from an overflow when the conversion gives up.
long long leadingMagnitude(const std::string& digits, const std::string& fracDigits,
                           long long exponent) {
    const size_t firstInt = digits.find_first_not_of('0');
    if (firstInt != std::string::npos)
        return (long long)(digits.size() - firstInt) - 1 + exponent;
    const size_t firstFrac = fracDigits.find_first_not_of('0');
    if (firstFrac == std::string::npos)
        return -1; // zero
    return -(long long)firstFrac - 1 + exponent;
}

std::optional<int32_t> readDecimal(const std::string& s) {
    size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
        negative = s[pos++] == '-';
    const size_t start = pos;
    while (pos < s.size() && isDigit(s[pos]))
        ++pos;
    const std::string digits = s.substr(start, pos - start);
    std::string fracDigits;
    if (pos < s.size() && s[pos] == '.') {
        const size_t fracStart = ++pos;
        while (pos < s.size() && isDigit(s[pos]))
            ++pos;
        fracDigits = s.substr(fracStart, pos - fracStart);
    }
    if (digits.empty() && fracDigits.empty())
        return 0;

    // The exponent counts only when digits follow it; "5E" and "5E+" read as 5.
    std::string expText;
    if (pos < s.size() && (s[pos] == 'E' || s[pos] == 'e')) {
        size_t p = pos + 1;
        std::string sign;
        if (p < s.size() && (s[p] == '+' || s[p] == '-'))
            sign = s[p++] == '-' ? "-" : "";
        const size_t expStart = p;
        while (p < s.size() && isDigit(s[p]))
            ++p;
        if (p > expStart)
            expText = sign + s.substr(expStart, p - expStart);
    }

    std::string number = (digits.empty() ? std::string("0") : digits);
    if (!fracDigits.empty())
        number += '.' + fracDigits;
    if (!expText.empty())
        number += 'e' + expText;

    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        long long exponent = 0;
        if (!expText.empty()) {
            // Saturate: only the sign and rough size matter here.
            const bool expNegative = expText[0] == '-';
            std::string expDigits = expNegative ? expText.substr(1) : expText;
            expDigits.erase(0, std::min(expDigits.find_first_not_of('0'), expDigits.size()));
            exponent = expDigits.size() > 9 ? 1000000000LL
                       : expDigits.empty()  ? 0
                                            : std::stoll(expDigits);
            if (expNegative)
                exponent = -exponent;
        }
        if (leadingMagnitude(digits, fracDigits, exponent) < 0)
            return 0;
        return std::nullopt;
    }
    if (ec != std::errc())
        return 0;

    // nearbyint rounds in the current mode, which is to-nearest-even by default.
    const double rounded = std::nearbyint(negative ? -value : value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return std::nullopt;
    return int32_t(rounded);
}

} // namespace

std::optional<int32_t> readNumber(QStringView text) {
    const std::string s = compact(text);
    if (!s.empty() && s[0] == '&') {
        if (s.size() > 1 && (s[1] == 'H' || s[1] == 'h'))
            return readRadix(s, 2, 16, 4);
        if (s.size() > 1 && (s[1] == 'O' || s[1] == 'o'))
            return readRadix(s, 2, 8, 6);
        return 0;
    }
    return readDecimal(s);
}

bool readNumberInto(QStringView text, int32_t& field) {
    const std::optional<int32_t> value = readNumber(text);
    if (!value)
        return false;
    field = *value;
    return true;
}

} // namespace ovra
