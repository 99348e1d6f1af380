#include <zop/text.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using zop::Convertion;

const wchar_t kFill = 0x5A5A;

// Converts `bytes` with room for `room` units and checks the outcome and
// what was written (which also fixes the room left); nothing beyond it may
// be touched.
void expect_decoded(const std::string& bytes, unsigned room, bool ok, const std::wstring& units) {
    std::vector<wchar_t> out(room + 8, kFill);
    unsigned left = room;
    const std::string what = testing::PrintToString(bytes) + " room " + std::to_string(room);
    EXPECT_EQ(Convertion::utf8_to_utf16(bytes.data(), static_cast<unsigned>(bytes.size()), out.data(), &left), ok)
        << what;
    EXPECT_EQ(std::wstring(out.data(), room - left), units) << what;
    EXPECT_EQ(std::vector<wchar_t>(out.begin() + (room - left), out.end()),
              std::vector<wchar_t>(8 + left, kFill)) << what;
}

// The same the other way; a success also writes a terminating zero, which
// `bytes` includes but the room left does not count.
void expect_encoded(const std::wstring& units, unsigned room, bool ok, const std::string& bytes) {
    std::string out(room + 8, '\x5A');
    unsigned left = room;
    EXPECT_EQ(Convertion::utf16_to_utf8(units.data(), static_cast<unsigned>(units.size()), &out[0], &left), ok)
        << room;
    const std::size_t written = room - left + (ok ? 1 : 0);
    EXPECT_EQ(out.substr(0, written), bytes) << room;
    EXPECT_EQ(out.substr(written), std::string(out.size() - written, '\x5A')) << room;
}

const std::string kMixed = "\x41\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
const std::wstring kMixedUnits = {0x0041, 0x00E9, 0x20AC, 0xD83D, 0xDE00};

TEST(Utf8ToUtf16, ConvertsWhatFits) {
    expect_decoded(kMixed, 10, true, kMixedUnits);
    // Room for 4 units: the pair does not fit and is not split.
    expect_decoded(kMixed, 4, true, kMixedUnits.substr(0, 3));
    expect_decoded(kMixed, 0, true, L"");
    // A byte order mark and zero bytes are ordinary characters.
    expect_decoded("\xEF\xBB\xBF\x41", 8, true, {0xFEFF, 0x41});
    expect_decoded(std::string("\0A", 2), 8, true, {0, 0x41});
    expect_decoded("\xEF\xBF\xBF\xF4\x8F\xBF\xBF", 8, true, {0xFFFF, 0xDBFF, 0xDFFF});
}

TEST(Utf8ToUtf16, RejectsIllFormedSequences) {
    for (const char* bad : {"\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF0\x8F\xBF\xBF",
                            "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xF8\x88\x80\x80\x80", "\x80",
                            "\xE2\x82", "\xC3\x41", "\xE2\x82\x41", "\xF0\x9F\x98\x41", "\xFF"}) {
        expect_decoded(bad, 8, false, L"");
    }
    // What came before the error stays; nothing after it is converted.
    expect_decoded("ab\xC3\xA9\x80xyz", 8, false, {'a', 'b', 0xE9});
}

TEST(Utf8ToUtf16, RoomOrErrorFirst) {
    // A cut-off sequence is an error even with too little room for it.
    expect_decoded("\xF0\x9F\x98", 1, false, L"");
    // A four-byte sequence that does not fit ends the conversion before its
    // later continuation bytes are looked at...
    expect_decoded("a\xF0\x9F\x41\x41", 2, true, L"a");
    expect_decoded("a\xF0\x9F\x41\x41", 3, false, L"a");
    // ...but not before the checks of the first continuation byte.
    expect_decoded("a\xF4\x90\x80\x80", 2, false, L"a");
    // With no room left, nothing more is examined.
    expect_decoded("a\x80", 1, true, L"a");
}

TEST(Utf8ToUtf16, LongRunsStopExactly) {
    // ASCII runs long enough for the block copier, ending at every offset in
    // an error, a character that does not fit, or the end of the room.
    for (unsigned n = 0; n < 70; ++n) {
        const std::string ascii(n, 'x');
        expect_decoded(ascii + "\xC3" + ascii, 200, false, std::wstring(n, L'x'));
        expect_decoded(ascii + "\xF0\x9F\x98\x80" + ascii, n + 1, true, std::wstring(n, L'x'));
        expect_decoded(ascii + ascii, n, true, std::wstring(n, L'x'));
    }
}

TEST(Utf16ToUtf8, ConvertsWithTerminatingZero) {
    const std::string zero(1, '\0');
    expect_encoded(kMixedUnits, 10, true, kMixed + zero);
    // Room 6: the pair needs 4 bytes and stays unconverted.
    expect_encoded(kMixedUnits, 6, true, kMixed.substr(0, 6) + zero);
    // Room 2 leaves one byte unused rather than split U+20AC.
    expect_encoded({0x41, 0x20AC}, 2, true, std::string("A\0", 2));
    expect_encoded(L"", 5, true, zero);
    expect_encoded({0, 0x41}, 5, true, std::string("\0A\0", 3));
}

TEST(Utf16ToUtf8, RejectsUnpairedSurrogates) {
    // No terminating zero after an error.
    for (const std::wstring& bad : {std::wstring{0xDC00}, std::wstring{0xD83D, 0x41}, std::wstring{0xD83D, 0xD83D}}) {
        expect_encoded(bad, 10, false, "");
    }
    expect_encoded({0x41, 0xD83D}, 10, false, "A");
    // Validity comes before room: a lone high surrogate at the end is an
    // error although it would not fit anyway; with no room left it is not
    // looked at.
    expect_encoded({0x41, 0xD83D}, 2, false, "A");
    expect_encoded({0x41, 0xD83D}, 1, true, std::string("A\0", 2));
}

TEST(Utf16ToUtf8, ValuesBeyondSixteenBitsAreIllFormed) {
    if (sizeof(wchar_t) == 2) GTEST_SKIP() << "wchar_t holds only 16-bit values here";
    // 0x10041 would pass for 'A' if it were cut down to 16 bits.
    for (long v : {0x10041L, 0x1F600L, 0x110000L, -1L}) expect_encoded({L'a', static_cast<wchar_t>(v)}, 10, false, "a");
    expect_encoded({0xD83D, static_cast<wchar_t>(0x1DC00)}, 10, false, "");
    // The same in a run long enough for the block copier.
    std::wstring run(40, L'a');
    run[33] = static_cast<wchar_t>(0x10041);
    expect_encoded(run, 100, false, std::string(33, 'a'));
}

TEST(Convertion, NullArgumentsFailWithoutWriting) {
    wchar_t units[4] = {};
    char bytes[4] = {};
    unsigned room = 4;
    EXPECT_FALSE(Convertion::utf8_to_utf16("a", 1, units, nullptr));
    EXPECT_FALSE(Convertion::utf8_to_utf16(nullptr, 1, units, &room));
    EXPECT_FALSE(Convertion::utf8_to_utf16("a", 1, nullptr, &room));
    EXPECT_TRUE(Convertion::utf8_to_utf16(nullptr, 0, nullptr, &room));
    EXPECT_TRUE(Convertion::utf8_to_utf16("a", 1, nullptr, &(room = 0)));
    room = 4;
    EXPECT_FALSE(Convertion::utf16_to_utf8(L"a", 1, bytes, nullptr));
    EXPECT_FALSE(Convertion::utf16_to_utf8(L"a", 1, nullptr, &room));
    EXPECT_FALSE(Convertion::utf16_to_utf8(nullptr, 1, bytes, &room));
    EXPECT_EQ(room, 4u);
    EXPECT_TRUE(Convertion::utf16_to_utf8(nullptr, 0, bytes, &room));
    EXPECT_EQ(bytes[0], '\0');
}

TEST(Convertion, AnsiRoundTripOfAscii) {
    const wchar_t text[] = L"plain ASCII text";
    char narrow[32] = {};
    wchar_t wide[32] = {};
    // An empty input with an output is answered without the system.
    EXPECT_EQ(Convertion::utf16_to_ansi(text, 0, narrow, 32), 0);
    EXPECT_EQ(Convertion::ansi_to_utf16("x", 0, wide, 32), 0);
    // Size 0 asks for the size; all bits set includes the terminator.
    EXPECT_EQ(Convertion::utf16_to_ansi(text, 16, nullptr, 0), 16);
    EXPECT_EQ(Convertion::utf16_to_ansi(text, 0xFFFFFFFFu, nullptr, 0), 17);
    EXPECT_EQ(Convertion::utf16_to_ansi(text, 0xFFFFFFFFu, narrow, 32), 17);
    EXPECT_STREQ(narrow, "plain ASCII text");
    EXPECT_EQ(Convertion::ansi_to_utf16(narrow, 0xFFFFFFFFu, nullptr, 0), 17);
    EXPECT_EQ(Convertion::ansi_to_utf16(narrow, 16, wide, 32), 16);
    EXPECT_EQ(std::wstring(wide), text);
    // Too small an output is a failure.
    EXPECT_EQ(Convertion::utf16_to_ansi(text, 16, narrow, 15), 0);
    EXPECT_EQ(Convertion::ansi_to_utf16(narrow, 16, wide, 15), 0);
}

}  // namespace
