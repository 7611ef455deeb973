#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>

namespace ovra {

// Reads the number at the start of a text typed into a settings field, the way the
// settings dialog has always read its size and colour fields:
//  - blanks, tabs and line feeds are skipped wherever they stand ("1 2" is 12);
//  - reading stops at the first character that cannot continue the number, and a
//    text without a leading number reads as 0;
//  - decimal: optional sign, digits, optional "." and fraction, optional exponent
//    ("E" or "e", optional sign, digits);
//  - "&H" (either case) and hexadecimal digits: one to four digits are a 16-bit
//    two's-complement value widened with its sign (&HFFFF is -1), five to eight a
//    32-bit one (&HFF000000 is -16777216);
//  - "&O" and octal digits: up to six digits with a value that fits 16 bits are
//    widened from 16 bits (&O177777 is -1), anything longer from 32 bits;
//  - the result is rounded to an integer, a half to the even neighbour.
// nullopt when the number does not fit a 32-bit signed integer.
std::optional<int32_t> readNumber(QStringView text);

// Stores the number of a text in a field. A number out of range is not stored: the
// field keeps what it held and the result is false.
bool readNumberInto(QStringView text, int32_t& field);

} // namespace ovra
