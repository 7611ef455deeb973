// Any text through the numeric reading of the settings fields: blanks never change
// the result, every number read comes back from its own decimal and hexadecimal
// spellings, and plain decimal texts agree with the C library's correctly rounded
// conversion.
#include "dialogs/numericreading.h"
#include "fuzz/fuzzcheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

using namespace ovra;

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The longest leading decimal literal of a text without blanks, in the form
// strtod understands, or nothing when the text does not start as a decimal.
std::optional<std::string> decimalPrefix(const QString& text) {
    std::string s;
    for (const QChar c : text)
        if (!isBlank(c))
            s.push_back(c.unicode() < 0x80 ? char(c.unicode()) : '\x01');
    if (!s.empty() && s[0] == '&')
        return std::nullopt;
    size_t p = 0;
    if (p < s.size() && (s[p] == '+' || s[p] == '-'))
        ++p;
    size_t digits = 0;
    while (p < s.size() && s[p] >= '0' && s[p] <= '9')
        ++p, ++digits;
    if (p < s.size() && s[p] == '.') {
        ++p;
        while (p < s.size() && s[p] >= '0' && s[p] <= '9')
            ++p, ++digits;
    }
    if (digits == 0)
        return std::string();
    if (p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
        size_t q = p + 1;
        if (q < s.size() && (s[q] == '+' || s[q] == '-'))
            ++q;
        const size_t expStart = q;
        while (q < s.size() && s[q] >= '0' && s[q] <= '9')
            ++q;
        if (q > expStart)
            p = q;
    }
    return s.substr(0, p);
}

std::optional<int32_t> expectedDecimal(const std::string& literal) {
    if (literal.empty())
        return 0;
    errno = 0;
    const double value = std::strtod(literal.c_str(), nullptr);
    if (std::isinf(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return std::nullopt;
    return int32_t(rounded);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    const bool wide = fdp.ConsumeBool();
    const size_t blankAt = fdp.ConsumeIntegral<uint16_t>();
    const std::string raw = fdp.ConsumeRemainingBytesAsString();
    const QString text = wide ? QString::fromUtf16(reinterpret_cast<const char16_t*>(raw.data()),
                                                   qsizetype(raw.size() / 2))
                              : QString::fromUtf8(raw.data(), qsizetype(raw.size()));

    const std::optional<int32_t> value = readNumber(text);

    // Blanks, tabs and line feeds are skipped wherever they stand.
    QString spaced = text;
    spaced.insert(qsizetype(blankAt % size_t(text.size() + 1)), QStringLiteral(" \t"));
    CHECK(readNumber(spaced) == value);

    if (const auto literal = decimalPrefix(text))
        CHECK(value == expectedDecimal(*literal));

    int32_t field = 12345;
    CHECK(readNumberInto(text, field) == value.has_value());
    CHECK(field == value.value_or(12345));

    if (value) {
        CHECK(readNumber(QString::number(*value)) == value);
        // Eight digits are always read as 32 bits, whatever the leading ones are.
        const QString hex = QStringLiteral("&H%1").arg(uint32_t(*value), 8, 16, QChar(u'0'));
        CHECK(readNumber(hex) == value);
        CHECK(readNumber(hex.toLower()) == value);
        CHECK(readNumber(QStringLiteral("&O%1").arg(uint32_t(*value), 11, 8, QChar(u'0'))) ==
              value);
    }
    return 0;
}
