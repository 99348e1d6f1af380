/// @file
/// @ingroup text
/// zop text: Unicode character classification and conversion between UTF-8,
/// UTF-16 and the system's ANSI code page.
///
/// Wide text is UTF-16 code units, one unit per wchar_t, on every platform.
/// Where wchar_t is 32 bits wide (Linux) a value above 0xFFFF is not a UTF-16
/// code unit: Char answers false for it and Convertion refuses it.
#ifndef ZOP_TEXT_H
#define ZOP_TEXT_H

#include <zop/core.h>
#include <zop/export.h>

#include <string>

namespace zop {

/// @defgroup text Text
/// Unicode character classification and conversion between UTF-8, UTF-16
/// and the system's ANSI code page (`<zop/text.h>`).
/// @{

/// Classification of single UTF-16 code units by their Unicode 3.0 general
/// category.  Every answer is one lookup in a constant table of the 65536
/// code points of the Basic Multilingual Plane; a surrogate unit is
/// classified as itself (a surrogate, which is none of the classes below).
/// There is no case mapping.  Nothing here throws.
class ZOP_API Char {
public:
    /// Char has no state; objects may be made but are never needed.
    ///@{
    Char();
    ~Char();
    ///@}
    /// Does nothing; returns *this.
    Char& operator=(const Char& other);

    /// Space separators (Zs), or U+0009..U+000D, U+0085, U+2028, U+2029.
    static bool is_whitespace(wchar_t c);
    /// Decimal digit numbers (Nd).
    static bool is_digit(wchar_t c);
    /// Letters: Lu, Ll, Lt, Lm, Lo.
    static bool is_letter(wchar_t c);
    /// Lowercase letters (Ll); titlecase letters are neither lower nor upper.
    static bool is_lower(wchar_t c);
    /// Uppercase letters (Lu).
    static bool is_upper(wchar_t c);
    /// Numbers: Nd, Nl, No.
    static bool is_number(wchar_t c);
    /// Punctuation: Pc, Pd, Ps, Pe, Pi, Pf, Po.
    static bool is_punctuation(wchar_t c);
    /// Separators: Zs, Zl, Zp.
    static bool is_seperator(wchar_t c);
    /// Symbols: Sm, Sc, Sk, So.
    static bool is_symbol(wchar_t c);
};

/// Conversion between UTF-8, UTF-16 and the ANSI code page on caller-supplied
/// buffers.  Nothing allocates and nothing throws.  Lengths are exact counts
/// (bytes for UTF-8 and ANSI, 16-bit units for UTF-16); a zero inside the
/// input is converted like any other character.
class ZOP_API Convertion {
public:
    /// Does nothing; returns *this.
    Convertion& operator=(const Convertion& other);

    /// Decodes `length` bytes of strict UTF-8 into UTF-16 units at `output`.
    /// `*room` holds the room of the output in units on entry and the room
    /// left on return (written = entry value - return value).  Returns false
    /// at the first ill-formed sequence (stray continuation byte, five- and
    /// six-byte forms, overlong forms, surrogates U+D800..U+DFFF, values past
    /// U+10FFFF, a sequence cut off by the end of the input); what was
    /// converted before it stays in the output.  Returns true when all input
    /// is converted, and also when the room runs out: a character is never
    /// split, so conversion stops before a character that does not fit (a
    /// supplementary character needs 2 units).  No terminating zero is
    /// written.  Returns false without writing when `room` is null, or when
    /// `input` (with a non-zero length) or `output` (with non-zero room) is
    /// null.
    static bool utf8_to_utf16(const char* input, unsigned int length,
                              wchar_t* output, unsigned int* room);

    /// Encodes `length` UTF-16 units as UTF-8 at `output`.  `*room` holds the
    /// room of the output in bytes on entry and the room left on return.  A
    /// terminating zero byte is written after the converted bytes and is not
    /// counted in the room, so the buffer must hold the entry room plus one
    /// byte.  Returns false at the first unpaired surrogate (or, where
    /// wchar_t is wider, a value above 0xFFFF), writing no terminating zero;
    /// what was converted before it stays.  Returns true when all input is
    /// converted and also when the room runs out (a character is never
    /// split).  Returns false without writing when `room` or `output` is
    /// null, or when `input` is null with a non-zero length.
    static bool utf16_to_utf8(const wchar_t* input, unsigned int length,
                              char* output, unsigned int* room);

    /// UTF-16 to the system's ANSI code page through the system's converter
    /// (WideCharToMultiByte, code page CP_ACP, flags 0; on Linux the ANSI code
    /// page is UTF-8).  Returns the system's count: the bytes written, or
    /// with a size of 0 the bytes needed.  A length of 0xFFFFFFFF converts up
    /// to and including the input's terminating zero.  An empty input with a
    /// non-null output returns 0 without asking the system.  Returns 0 on
    /// every failure, the reason left in the system's last error (122 for too
    /// small an output, 87 for invalid arguments such as an empty input, a
    /// null input, a null output with a non-zero size, or a value above
    /// 0xFFFF where wchar_t is wider).
    static int utf16_to_ansi(const wchar_t* input, unsigned int length,
                             char* output, unsigned int size);

    /// The system's ANSI code page to UTF-16 (MultiByteToWideChar, CP_ACP,
    /// flags 0), with the conventions of utf16_to_ansi; `size` is in units.
    static int ansi_to_utf16(const char* input, unsigned int length,
                             wchar_t* output, unsigned int size);

    /// The UTF-16 text of the strict UTF-8 `text` (rules of utf8_to_utf16).
    /// Throws FormatException "Invalid UTF-8 at byte N", N counting from 0,
    /// naming where the first ill-formed sequence starts.
    static std::wstring to_utf16(const std::string& text);

    /// The UTF-8 text of the UTF-16 `text` (rules of utf16_to_utf8).  Throws
    /// FormatException "Invalid UTF-16 at unit N" for the first unpaired
    /// surrogate (or value above 0xFFFF where wchar_t is wider).
    static std::string to_utf8(const std::wstring& text);

private:
    Convertion();
    ~Convertion();
};

/// @}

}  // namespace zop

#endif
