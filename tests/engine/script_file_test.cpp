#include "fingerprint.h"
#include "script_file.h"
#include "text_encoding.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

// Every allocation of this test program is counted, so that the memory a
// reader holds while it reads can be observed.
namespace {
constexpr std::size_t kHeader = alignof(std::max_align_t);
std::atomic<std::size_t> g_live{0};
std::atomic<std::size_t> g_peak{0};

void* Allocate(std::size_t size) {
    auto* base = static_cast<char*>(std::malloc(size + kHeader));
    if (base == nullptr) return nullptr;
    *reinterpret_cast<std::size_t*>(base) = size;
    const std::size_t live = g_live += size;
    std::size_t peak = g_peak;
    while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
    }
    return base + kHeader;
}

void Release(void* p) {
    if (p == nullptr) return;
    char* base = static_cast<char*>(p) - kHeader;
    g_live -= *reinterpret_cast<std::size_t*>(base);
    std::free(base);
}
}  // namespace

void* operator new(std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

namespace sorv {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

void ExpectValues(const ScriptValues& v, const std::string& nom, std::int64_t taille, std::int64_t tranches) {
    EXPECT_EQ(v.NomOriginal, nom);
    EXPECT_EQ(v.TailleOriginale, taille);
    EXPECT_EQ(v.Tranches, tranches);
}

void ExpectDefaults(const ScriptValues& v) { ExpectValues(v, "c:\\", 0, 0); }

std::span<const std::byte> Bytes(std::string_view s) { return std::as_bytes(std::span(s.data(), s.size())); }

std::string Utf16(std::u16string_view text, bool bigEndian = false) {
    std::string bytes;
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST(TextEncoding, Cp1252MapsEveryByteBothWays) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
    EXPECT_EQ(Cp1252ToUtf8("\x80\x81\x8A\x9F\xE9"), "\u20AC\u0081\u0160\u0178\u00E9");
    EXPECT_EQ(Utf8ToCp1252("\u2019\u2122\u009D"), "\x92\x99\x9D");
    EXPECT_EQ(Utf8ToCp1252("\u0080"), std::nullopt);  // 0x80 is the euro sign
    EXPECT_EQ(Utf8ToCp1252("a\u0416"), std::nullopt);
    EXPECT_EQ(Utf8ToCp1252("a\xE9"), std::nullopt);  // not UTF-8
}

TEST(TextEncoding, OnlyShortestFormsOfScalarValuesAreValidUtf8) {
    for (const char* good : {"", "abc", "\u00E9", "\u20AC", "\U0010FFFF", "\xEF\xBB\xBF"}) {
        EXPECT_TRUE(IsValidUtf8(good)) << good;
    }
    for (const char* bad : {"\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xF5\x80\x80\x80", "\x80", "\xC3", "\xE2\x82", "\xFF"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
    // Fed in pieces cut inside characters, the validator agrees.
    const std::string text = "a\u00E9\u20AC\U0001F600";
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        Utf8Validator v;
        v.Feed(text.substr(0, cut));
        EXPECT_EQ(v.Valid(), IsValidUtf8(text.substr(0, cut))) << cut;
        v.Feed(text.substr(cut));
        EXPECT_TRUE(v.Valid()) << cut;
    }
    EXPECT_EQ(RepairUtf8("a\xE2\x82z\xFF\xED\xA0\x80"), "a\uFFFDz\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf8Prefix("\u00E9\u20ACx", 2), "\u00E9\u20AC");
    EXPECT_EQ(Utf8Prefix("ab", 5), "ab");
}

TEST(ScriptWriting, AnsiWhenEveryCharacterFitsElseUtf8WithMark) {
    EXPECT_EQ(ScriptFileBytes("C:\\DATA\\ARCHIVE.ZIP", 3000000, 3),
              "[Sorv]\r\nNomOriginal=C:\\DATA\\ARCHIVE.ZIP\r\nTailleOriginale=3000000\r\nTranches=3\r\n");
    EXPECT_EQ(ScriptFileBytes("C:\\r\u00E9sum\u00E9.doc", 5000000000, -1),
              "[Sorv]\r\nNomOriginal=C:\\r\xE9sum\xE9.doc\r\nTailleOriginale=5000000000\r\nTranches=-1\r\n");
    EXPECT_EQ(ScriptFileBytes("C:\\\u0416.txt", 1, 1),
              kBom + "[Sorv]\r\nNomOriginal=C:\\\u0416.txt\r\nTailleOriginale=1\r\nTranches=1\r\n");
    // A name cannot break out of its line and bring keys of its own.
    EXPECT_EQ(ParseScript(ScriptFileBytes("/x/a\r\nTranches=1\n", 9, 2)).Tranches, 2);
}

TEST(ScriptWriting, WhatIsWrittenReadsBack) {
    for (const std::string name : {"C:\\DATA\\ARCHIVE.ZIP", "D:\\Caf\u00E9 \u20AC\\na\u00EFve.txt",
                                   "E:\\\u65E5\u672C\\\u00E9\U0001F600.bin",
                                   // Edge blanks and quotes, and Windows-1252 bytes that read as UTF-8.
                                   " a.bin ", "'x'", "\"q\"", "\"q", "r\u00C3\u00A9sum\u00C3\u00A9.pdf"}) {
        ExpectValues(ParseScript(ScriptFileBytes(name, 5000000000, 4)), name, 5000000000, 4);
    }
    ExpectValues(ParseScript(ScriptFileBytes("", INT64_MIN, INT64_MAX)), "", INT64_MIN, INT64_MAX);
}

TEST(ProfileInteger, HexAfter0xElseStrictDecimal) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"0x10", 16}, {"0X1f", 31}, {"0x", 0}, {"0xg", 0}, {"0x0000000000000000001", 1},
        {"0xFFFFFFFFFFFFFFFF", -1}, {"0x10000000000000000", 0}, {"0x7FFFFFFFFFFFFFFF", INT64_MAX},
        {"abc", 0}, {" 12 ", 12}, {"-5", -5}, {"+7", 7}, {"12abc", 0}, {"1 2", 0}, {"", 0}, {"-", 0},
        {"9223372036854775807", INT64_MAX}, {"9223372036854775808", 0}, {"-9223372036854775808", INT64_MIN},
        {"-9223372036854775809", 0}, {"99999999999999999999999", 0}, {"-0x10", 0}, {"007", 7},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseProfileInteger(text), value) << text;
    // What reads as 0 only because it is not a number is told apart.
    for (const char* unreadable : {"0x", "0xg", "abc", "12abc", "", " ", "-", "9223372036854775808", "3000000x"})
        EXPECT_EQ(ReadProfileInteger(unreadable), std::nullopt) << unreadable;
    EXPECT_EQ(ReadProfileInteger("0"), 0);
}

// A header one or two letters away from [Empreintes] is a damaged one: the
// section is there but cannot serve. So is one whose keys turn up under
// another header (its own was damaged beyond recognition, or lost) or after
// a header whose bracket was damaged. Other sections are someone else's.
TEST(ScriptReading, ANearlyNamedFingerprintSectionCannotServe) {
    const std::string body = "\nAlgorithme=XXH64\nFichier=0123456789abcdef\n1=0123456789abcdef\n";
    const std::string sorv = "[Sorv]\nNomOriginal=a\nTailleOriginale=9\nTranches=1\n";
    for (const char* header : {"Empreintez", "empreinte", "Empreintes2", "Emprientes", "Empreint\xC3\xA9s"}) {
        const RecordedFingerprints read = ParseScript(sorv + "[" + header + "]" + body).Empreintes;
        EXPECT_TRUE(read.Present()) << header;
        EXPECT_FALSE(read.CanCheckEverything(1)) << header;
        EXPECT_EQ(read.Unusable(1), "en-tête [" + std::string(header) + "]");
    }
    for (const char* other : {"Sorv", "Autre", "Empreintes des photos", "Emp"})
        EXPECT_EQ(ParseScript(sorv + "[" + other + "]" + body).Empreintes.Unusable(1), "en-tête [Empreintes] manquant")
            << other;
    for (const char* line : {"{Empreintes]", "Empreintes]", "x[Empreintes]"})
        EXPECT_EQ(ParseScript(sorv + line + body).Empreintes.Unusable(1), "en-tête " + std::string(line)) << line;
    EXPECT_FALSE(ParseScript(sorv + "[Autre]\nCle=1\nEmpreintes=2\n").Empreintes.Present());
    // Recovery slices are never written without fingerprints.
    EXPECT_EQ(ParseScript(sorv + "[Secours]\nTranches=1\n").Empreintes.Unusable(1), "en-tête [Empreintes] manquant");
    const RecordedFingerprints good = ParseScript(sorv + "[Empreintes]" + body).Empreintes;
    EXPECT_TRUE(good.CanCheckEverything(1));
    EXPECT_EQ(good.Unusable(1), "");
}

TEST(ScriptWriting, APartialScriptRecordsItsSourceByIdentity) {
    const FileId source{0x801, 0xfedcba9876543210u};
    const std::string bytes = PartialScriptFileBytes("C:\\in\\a.bin", 5, 1, source);
    EXPECT_EQ(bytes, ScriptFileBytes("C:\\in\\a.bin", 5, 1) +
                         "\r\n[EnCours]\r\nSource=0000000000000801-fedcba9876543210\r\n");
    EXPECT_EQ(ParseScript(bytes).Source, source);
    for (const char* bad : {"", "[EnCours]\nSource=801-12\n", "[EnCours]\nSource=0000000000000801\n"})
        EXPECT_EQ(ParseScript(std::string("[Sorv]\nTranches=1\n") + bad).Source, std::nullopt) << bad;
}

TEST(ScriptReading, ProfileRules) {
    ExpectValues(ParseScript("[sorv]\nnomoriginal=a.zip\nTRANCHES=0x10\ntailleoriginale= 12 \n"), "a.zip", 12, 16);
    ExpectDefaults(ParseScript(""));
    ExpectDefaults(ParseScript("NomOriginal=a\nTranches=3\n[Other]\nTailleOriginale=5\n"));
    ExpectValues(ParseScript("[Sorv]\nTranches=3\n"), "c:\\", 0, 3);
    ExpectValues(ParseScript("[Sorv]\nNomOriginal=\nTranches=  \nTailleOriginale=abc\n"), "", 0, 0);
    ExpectValues(ParseScript("[X]\nTranches=1\n  [ Sorv ]  \n\tNomOriginal = a b \t\n[Y]\nTranches=2\n"), "a b", 0, 0);
    // The first occurrence wins, a later "Sorv" section fills what the first lacks.
    ExpectValues(ParseScript("[Sorv]\nTranches=1\nTranches=2\n[Y]\nNomOriginal=y\n[SORV]\nNomOriginal=z\nTranches=3"),
                 "z", 0, 1);
    // Line endings: CR LF, LF only, doubled CR, last line without one.
    for (const char* eol : {"\r\n", "\n", "\r\r\n"}) {
        const std::string s = std::string("[Sorv]") + eol + "NomOriginal=n" + eol + "Tranches=4" + eol + "TailleOriginale=9";
        ExpectValues(ParseScript(s), "n", 9, 4);
    }
    // Matching quotes go, others stay.
    ExpectValues(ParseScript("[Sorv]\nNomOriginal=\"a b\"\nTranches='5'\nTailleOriginale=\"6'\n"), "a b", 0, 5);
    EXPECT_EQ(ParseScript("[Sorv]\nNomOriginal='x\n").NomOriginal, "'x");
    EXPECT_EQ(ParseScript("[Sorv]\nNomOriginal=\"\n").NomOriginal, "\"");
    // A NUL ends a value; elsewhere it is an ordinary byte.
    using namespace std::string_literals;
    ExpectValues(ParseScript("\0\0\n[Sorv]\0\nNomOriginal=ab \0cd\nTranches=\0" "7\nTailleOriginale=8\n\0"s), "ab", 8, 0);
}

TEST(ScriptReading, EncodingFromMarkOrValidityElseAnsi) {
    EXPECT_EQ(ParseScript("[Sorv]\r\nNomOriginal=C:\\r\xE9sum\xE9\x80\r\n").NomOriginal, "C:\\r\u00E9sum\u00E9\u20AC");
    EXPECT_EQ(ParseScript("[Sorv]\r\nNomOriginal=C:\\r\u00E9sum\u00E9\r\n").NomOriginal, "C:\\r\u00E9sum\u00E9");
    EXPECT_EQ(ParseScript(kBom + "[Sorv]\r\nNomOriginal=\u0416\r\n").NomOriginal, "\u0416");
    // One invalid byte anywhere makes the whole file ANSI.
    EXPECT_EQ(ParseScript("[Sorv]\nNomOriginal=\u00E9\n;\xFF\n").NomOriginal, "\u00C3\u00A9");
    // Behind a mark, a name that is not UTF-8 is ANSI typed in by an editor.
    EXPECT_EQ(ParseScript(kBom + "[Sorv]\nNomOriginal=\xE9t\xE9\n").NomOriginal, "\u00E9t\u00E9");
    // Saved as UTF-16 ("Unicode", either byte order): read alike, a lone surrogate replaced.
    for (const bool bigEndian : {false, true}) {
        const std::u16string text = u"\uFEFF[Sorv]\r\nNomOriginal=\u00E9\U0001F600\xD800.\r\nTranches=3\r\n";
        ExpectValues(ParseScript(Utf16(text, bigEndian)), "\u00E9\U0001F600\uFFFD.", 0, 3);
    }
    // A mark anywhere but at the start is part of the text.
    EXPECT_EQ(ParseScript("\n" + kBom + "[Sorv]\nNomOriginal=a\n").NomOriginal, "c:\\");
}

TEST(ScriptReading, NameKeepsAtMost1023Characters) {
    std::string e;
    for (int i = 0; i < 2000; ++i) e += "\u00E9";
    const std::string utf8Name = ParseScript(kBom + "[Sorv]\nNomOriginal=" + e + "\n").NomOriginal;
    EXPECT_EQ(utf8Name, e.substr(0, 2 * kMaxValueChars));
    const std::string ansiName = ParseScript("[Sorv]\nNomOriginal=" + std::string(2000, '\xE9') + "\n").NomOriginal;
    EXPECT_EQ(ansiName, utf8Name);
    // Blanks and quotes around a long value go as they would around a short one.
    const std::string padded = "[Sorv]\nNomOriginal=" + std::string(10000, ' ') + "\"" + std::string(5000, 'x') +
                               "\"" + std::string(10000, '\t') + "\nTranches=" + std::string(9000, ' ') + "3\n";
    ExpectValues(ParseScript(padded), std::string(kMaxValueChars, 'x'), 0, 3);
}

TEST(ScriptReading, ChunkBoundariesDoNotMatter) {
    for (const std::string& input :
         {ScriptFileBytes("C:\\\u0416\\\u00E9.zip", 77, 2), ScriptFileBytes("C:\\r\u00E9sum\u00E9", 5, 6),
          std::string("\xEF\xBB"), std::string("[Sorv]\r\nNomOriginal = ' q ' \r\nTranches=0x1F"),
          Utf16(u"\uFEFF[Sorv]\nNomOriginal=\U0001F600\nTranches=2\n", true)}) {
        const ScriptValues whole = ParseScript(input);
        ScriptReader reader;
        for (std::size_t i = 0; i < input.size(); ++i) reader.Feed(Bytes(std::string_view(input).substr(i, 1)));
        const ScriptValues bytewise = reader.Finish();
        ExpectValues(bytewise, whole.NomOriginal, whole.TailleOriginale, whole.Tranches);
    }
}

TEST(ScriptReading, BinaryInputGivesDefaults) {
    std::mt19937 random(12345);
    std::string noise(1 << 20, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    ExpectDefaults(ParseScript(noise));
    ExpectDefaults(ParseScript(std::string(100000, '\0')));
}

// The most memory the reader holds while reading a huge line after prefix.
std::size_t PeakWhileReading(const std::string& prefix, ScriptValues& values) {
    const std::string chunk(64 * 1024, 'x');
    ScriptReader reader;
    reader.Feed(Bytes(prefix));
    const std::size_t before = g_live;
    g_peak = before;
    for (int i = 0; i < 50 * 16; ++i) reader.Feed(Bytes(chunk));  // 50 MiB, no newline
    const std::size_t peak = g_peak - before;
    values = reader.Finish();
    return peak;
}

TEST(ScriptReading, HugeLinesKeepMemoryBounded) {
    ScriptValues values;
    EXPECT_LT(PeakWhileReading("", values), 32u * 1024);
    ExpectDefaults(values);
    EXPECT_LT(PeakWhileReading("[Sorv]\nTranches=2\nNomOriginal=", values), 32u * 1024);
    ExpectValues(values, std::string(kMaxValueChars, 'x'), 0, 2);
}

// The values xxhsum prints for the same bytes.
TEST(Fingerprints, AreXxh64AsXxhsumComputesThemWhateverThePieces) {
    const auto of = [](std::string_view text, std::size_t piece) {
        Fingerprint f;
        for (std::size_t at = 0; at < text.size(); at += piece) f.Add(Bytes(text.substr(at, piece)));
        return FingerprintText(f.Value());
    };
    std::string pattern(1'000'000, '\0');
    for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<char>((i * 7 + 1 + i / 251) % 251);
    EXPECT_EQ(of("", 1), "ef46db3751d8e999");
    EXPECT_EQ(of("Sorv", 1), "7028ba12924833fa");
    for (const std::size_t piece : {std::size_t{1000000}, std::size_t{4093}, std::size_t{31}})
        EXPECT_EQ(of(pattern, piece), "8b2bad928624a403") << piece;
    EXPECT_EQ(ParseFingerprintText("8B2BAD928624a403"), 0x8b2bad928624a403u);
    for (const char* bad : {"8b2bad928624a40", "8b2bad928624a4033", "8b2bad928624a40g", " b2bad928624a403", ""})
        EXPECT_EQ(ParseFingerprintText(bad), std::nullopt) << bad;
}

TEST(ScriptWriting, FingerprintsFollowAnUnchangedSorvSection) {
    const Fingerprints fingerprints{0x150e682a069840fcu, {0xe49234f87aeffec5u, 0x45adba4a7350c18au, 0x0ac8b1bd6d8fb79eu}, 0, {}};
    for (const std::string name : {"C:\\DATA\\ARCHIVE.ZIP", "C:\\\u0416.txt"}) {
        const std::string plain = ScriptFileBytes(name, 800000, 3);
        EXPECT_EQ(ScriptFileBytes(name, 800000, 3, &fingerprints),
                  plain + "\r\n[Empreintes]\r\nAlgorithme=XXH64\r\nFichier=150e682a069840fc\r\n"
                          "1=e49234f87aeffec5\r\n2=45adba4a7350c18a\r\n3=0ac8b1bd6d8fb79e\r\n");
        const ScriptValues read = ParseScript(ScriptFileBytes(name, 800000, 3, &fingerprints));
        ExpectValues(read, name, 800000, 3);
        EXPECT_TRUE(read.Empreintes.Present() && read.Empreintes.KnownAlgorithm());
        EXPECT_EQ(read.Empreintes.File(), fingerprints.file);
        for (int n = 1; n <= 3; ++n) EXPECT_EQ(read.Empreintes.Slice(n), fingerprints.slices[n - 1]);
        EXPECT_EQ(read.Empreintes.Slice(4), std::nullopt);
    }
    EXPECT_FALSE(ParseScript(ScriptFileBytes("a", 1, 1)).Empreintes.Present());
}

// Whatever a hostile section holds, reading it never fails: what cannot be
// read is none, the first of duplicate keys counts, and no key makes a table
// larger than the script has slices.
TEST(ScriptReading, HostileFingerprintSections) {
    const std::string good = "0123456789abcdef";
    const std::string sorv = "[Sorv]\nNomOriginal=a\nTailleOriginale=9\nTranches=3\n";
    const struct {
        std::string text;
        std::optional<std::uint64_t> file, slice1, slice2, slice3;
        bool known;
    } cases[] = {
        {sorv + "[Empreintes]\nAlgorithme=XXH64\nFichier=" + good + "\n1=" + good + "\n3=" + good + "\n",
         0x0123456789abcdefu, 0x0123456789abcdefu, std::nullopt, 0x0123456789abcdefu, true},
        {sorv + "[empreintes]\nalgorithme=xxh64\nfichier=abc\n1=0123456789abcdeg\n2=" + good + "0\n3= \"" + good + "\" \n",
         std::nullopt, std::nullopt, std::nullopt, 0x0123456789abcdefu, true},
        {sorv + "[Empreintes]\nAlgorithme=MD5\n1=" + good + "\n1=ffffffffffffffff\n01=ffffffffffffffff\n-2=" + good +
             "\n99999999999999999999999=" + good + "\n4=" + good + "\n",
         std::nullopt, 0x0123456789abcdefu, std::nullopt, std::nullopt, false},
        // Before [Sorv] the slices' values are held until the count is known.
        {"[Empreintes]\nAlgorithme=XXH64\nFichier=" + good + "\n1=" + good + "\n4=" + good + "\n" + sorv,
         0x0123456789abcdefu, 0x0123456789abcdefu, std::nullopt, std::nullopt, true},
        {sorv + "[Empreintes]\n" + std::string(5000, 'x') + "\n1=" + std::string(5000, 'f') + "\n[Autre]\n2=" + good + "\n",
         std::nullopt, std::nullopt, std::nullopt, std::nullopt, false},
    };
    for (const auto& c : cases) {
        const ScriptValues v = ParseScript(c.text);
        ExpectValues(v, "a", 9, 3);
        EXPECT_TRUE(v.Empreintes.Present());
        EXPECT_EQ(v.Empreintes.KnownAlgorithm(), c.known);
        EXPECT_EQ(v.Empreintes.File(), c.file);
        EXPECT_EQ(v.Empreintes.Slice(1), c.slice1);
        EXPECT_EQ(v.Empreintes.Slice(2), c.slice2);
        EXPECT_EQ(v.Empreintes.Slice(3), c.slice3);
        EXPECT_EQ(v.Empreintes.Slice(4), std::nullopt);
    }
}

TEST(ScriptReading, AHugeSliceCountOrKeyMakesNoHugeTable) {
    ScriptValues values;
    const std::string head = "[Sorv]\nTranches=9223372036854775807\n[Empreintes]\n9223372036854775807=0123456789abcdef\n"
                             "4194305=0123456789abcdef\n5=0123456789abcdef\n";
    EXPECT_LT(PeakWhileReading(head + "Fichier=", values), 32u * 1024);
    EXPECT_EQ(values.Empreintes.Slice(5), 0x0123456789abcdefu);
    EXPECT_EQ(values.Empreintes.Slice(4194305), std::nullopt);
}

}  // namespace
}  // namespace sorv
