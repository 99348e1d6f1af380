#include <zop/text.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using zop::Convertion;

struct Decoded {
    bool ok;
    unsigned room;
    std::wstring units;  // what was written
    bool untouched_after;  // the output beyond the written units is unchanged
};

const wchar_t kFill = 0x5A5A;

Decoded decode(const std::string& bytes, unsigned room) {
    std::vector<wchar_t> out(room + 8, kFill);
    unsigned left = room;
    bool ok = Convertion::utf8_to_utf16(bytes.data(), static_cast<unsigned>(bytes.size()),
                                        out.data(), &left);
    std::size_t written = room - left;
    bool untouched = true;
    for (std::size_t i = written; i < out.size(); ++i) untouched = untouched && out[i] == kFill;
    return {ok, left, std::wstring(out.data(), written), untouched};
}

struct Encoded {
    bool ok;
    unsigned room;
    std::string bytes;  // what was written, the terminating zero included
};

Encoded encode(const std::wstring& units, unsigned room) {
    std::string out(room + 8, '\x5A');
    unsigned left = room;
    bool ok = Convertion::utf16_to_utf8(units.data(), static_cast<unsigned>(units.size()),
                                        &out[0], &left);
    std::size_t written = room - left;
    if (ok) ++written;
    for (std::size_t i = written; i < out.size(); ++i) EXPECT_EQ(out[i], '\x5A') << "byte " << i;
    return {ok, left, out.substr(0, written)};
}

const std::string kMixed = "\x41\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
const std::wstring kMixedUnits = {0x0041, 0x00E9, 0x20AC, 0xD83D, 0xDE00};

TEST(Utf8ToUtf16, ConvertsAndCountsTheRoom) {
    Decoded d = decode(kMixed, 10);
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.units, kMixedUnits);
    EXPECT_EQ(d.room, 5u);
    // Room for 4 units: the pair does not fit and is not split.
    d = decode(kMixed, 4);
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.units, kMixedUnits.substr(0, 3));
    EXPECT_EQ(d.room, 1u);
    EXPECT_TRUE(d.untouched_after);
    d = decode(kMixed, 0);
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.room, 0u);
    // A byte order mark and zero bytes are ordinary characters.
    EXPECT_EQ(decode("\xEF\xBB\xBF\x41", 8).units, (std::wstring{0xFEFF, 0x41}));
    EXPECT_EQ(decode(std::string("\0A", 2), 8).units, (std::wstring{0, 0x41}));
    EXPECT_EQ(decode("\xEF\xBF\xBF\xF4\x8F\xBF\xBF", 8).units,
              (std::wstring{0xFFFF, 0xDBFF, 0xDFFF}));
}

TEST(Utf8ToUtf16, RejectsIllFormedSequences) {
    for (const char* bad : {"\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF0\x8F\xBF\xBF",
                            "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xF8\x88\x80\x80\x80", "\x80",
                            "\xE2\x82", "\xC3\x41", "\xE2\x82\x41", "\xF0\x9F\x98\x41", "\xFF"}) {
        Decoded d = decode(bad, 8);
        EXPECT_FALSE(d.ok) << testing::PrintToString(std::string(bad));
        EXPECT_EQ(d.room, 8u);
        EXPECT_TRUE(d.untouched_after);
    }
    // What came before the error stays; nothing after it is converted.
    Decoded d = decode("ab\xC3\xA9\x80xyz", 8);
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.units, (std::wstring{'a', 'b', 0xE9}));
    EXPECT_EQ(d.room, 5u);
    EXPECT_TRUE(d.untouched_after);
}

TEST(Utf8ToUtf16, RoomOrErrorFirst) {
    // A cut-off sequence is an error even with too little room for it.
    EXPECT_FALSE(decode("\xF0\x9F\x98", 1).ok);
    // A four-byte sequence that does not fit ends the conversion before its
    // later continuation bytes are looked at.
    Decoded d = decode("a\xF0\x9F\x41\x41", 2);
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.room, 1u);
    EXPECT_FALSE(decode("a\xF0\x9F\x41\x41", 3).ok);
    // ...but not before the checks of the first continuation byte.
    EXPECT_FALSE(decode("a\xF4\x90\x80\x80", 2).ok);
    // With no room left, nothing more is examined.
    EXPECT_TRUE(decode("a\x80", 1).ok);
}

TEST(Utf8ToUtf16, LongRunsStopExactly) {
    // ASCII runs long enough for the block copier, ending at every offset in
    // an error, a character that does not fit, or the end of the room.
    for (std::size_t n = 0; n < 70; ++n) {
        std::string ascii(n, 'x');
        Decoded bad = decode(ascii + "\xC3" + ascii, 200);
        EXPECT_FALSE(bad.ok);
        EXPECT_EQ(bad.units, std::wstring(n, L'x'));
        EXPECT_TRUE(bad.untouched_after);
        Decoded full = decode(ascii + "\xF0\x9F\x98\x80" + ascii, static_cast<unsigned>(n + 1));
        EXPECT_TRUE(full.ok);
        EXPECT_EQ(full.units, std::wstring(n, L'x'));
        EXPECT_EQ(full.room, 1u);
        EXPECT_TRUE(full.untouched_after);
        Decoded part = decode(ascii + ascii, static_cast<unsigned>(n));
        EXPECT_EQ(part.units, std::wstring(n, L'x'));
        EXPECT_TRUE(part.untouched_after);
    }
}

TEST(Utf16ToUtf8, ConvertsWithTerminatingZero) {
    Encoded e = encode(kMixedUnits, 10);
    EXPECT_TRUE(e.ok);
    EXPECT_EQ(e.bytes, kMixed + std::string(1, '\0'));
    EXPECT_EQ(e.room, 0u);
    // Room 6: the pair needs 4 bytes and stays unconverted.
    e = encode(kMixedUnits, 6);
    EXPECT_TRUE(e.ok);
    EXPECT_EQ(e.bytes, kMixed.substr(0, 6) + std::string(1, '\0'));
    EXPECT_EQ(e.room, 0u);
    // Room 2 leaves one byte unused rather than split U+20AC.
    e = encode(std::wstring{0x41, 0x20AC}, 2);
    EXPECT_EQ(e.bytes, std::string("A\0", 2));
    EXPECT_EQ(e.room, 1u);
    e = encode(std::wstring(), 5);
    EXPECT_TRUE(e.ok);
    EXPECT_EQ(e.bytes, std::string(1, '\0'));
    EXPECT_EQ(e.room, 5u);
    e = encode(std::wstring{0, 0x41}, 5);
    EXPECT_EQ(e.bytes, std::string("\0A\0", 3));
}

TEST(Utf16ToUtf8, RejectsUnpairedSurrogates) {
    for (const std::wstring& bad : {std::wstring{0xDC00}, std::wstring{0x41, 0xD83D},
                                    std::wstring{0xD83D, 0x41}, std::wstring{0xD83D, 0xD83D}}) {
        Encoded e = encode(bad, 10);
        EXPECT_FALSE(e.ok);
        EXPECT_EQ(e.bytes, bad[0] == 0x41 ? "A" : "");  // no terminating zero
    }
    // Validity comes before room: a lone high surrogate at the end is an
    // error although it would not fit anyway.
    EXPECT_FALSE(encode(std::wstring{0x41, 0xD83D}, 2).ok);
    EXPECT_TRUE(encode(std::wstring{0x41, 0xD83D}, 1).ok);
}

TEST(Utf16ToUtf8, ValuesBeyondSixteenBitsAreIllFormed) {
    if (sizeof(wchar_t) == 2) GTEST_SKIP() << "wchar_t holds only 16-bit values here";
    // 0x10041 would pass for 'A' if it were cut down to 16 bits.
    for (long v : {0x10041L, 0x1F600L, 0x110000L, -1L}) {
        Encoded e = encode(std::wstring{L'a', static_cast<wchar_t>(v)}, 10);
        EXPECT_FALSE(e.ok) << v;
        EXPECT_EQ(e.bytes, "a");
    }
    EXPECT_FALSE(encode(std::wstring{0xD83D, static_cast<wchar_t>(0x1DC00)}, 10).ok);
    // The same in a run long enough for the block copier.
    std::wstring run(40, L'a');
    run[33] = static_cast<wchar_t>(0x10041);
    Encoded e = encode(run, 100);
    EXPECT_FALSE(e.ok);
    EXPECT_EQ(e.bytes, std::string(33, 'a'));
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
