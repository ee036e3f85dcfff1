// The skip map beside a partly copied target: what it reads back, what it refuses, and when a
// continue may trust it.
#include "CopyFakes.h"
#include "copier/SkipMapFile.h"
#include "services/Text.h"

using namespace testsupport;
using salva::SkipMap;
using salva::SkipStretch;

namespace {

const std::wstring kTarget = L"D:\\rescue\\视频\\AVSEQ01.DAT";
const std::wstring kSource = L"E:\\MPEGAV\\AVSEQ01.DAT";

// A map as the copy leaves it for a 500,000-byte target of a 3,000,000-byte source.
SkipMap Written() {
    SkipMap m;
    m.targetName = L"AVSEQ01.DAT";
    m.source = kSource;
    m.sourceLength = 3000000;
    m.targetLength = 500000;
    m.stretches = {{8194, 32767}, {100000, 0}, {200001, 11}};
    return m;
}

// What a continue at the record's position (16 before the length the map names) takes.
std::optional<std::vector<SkipStretch>> Taken(const SkipMap& m) {
    return salva::EarlierStretches(m, kTarget, kSource, 3000000, 500016, 499984);
}

bool Same(const std::vector<SkipStretch>& a, const std::vector<SkipStretch>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].first != b[i].first || a[i].bytes != b[i].bytes) return false;
    return true;
}

std::wstring Replaced(std::wstring text, const std::wstring& from, const std::wstring& to) {
    const size_t at = text.find(from);
    EXPECT_NE(std::wstring::npos, at) << Narrow(from);
    return at == std::wstring::npos ? text : text.replace(at, from.size(), to);
}

}  // namespace

TEST(SkipMap, WrittenMapReadsBackAndFitsItsTarget) {
    const auto decoded = salva::DecodeSkipMap(salva::EncodeSkipMap(Written()));
    ASSERT_TRUE(decoded.has_value());
    const auto taken = Taken(*decoded);
    ASSERT_TRUE(taken.has_value());
    EXPECT_TRUE(Same(Written().stretches, *taken));
    // File names are told apart as the file system does, without regard to case.
    EXPECT_TRUE(salva::EarlierStretches(*decoded, L"d:\\rescue\\视频\\avseq01.dat", L"e:\\mpegav\\avseq01.dat", 3000000,
                                        500016, 499984));
}

TEST(SkipMap, EveryCutOfAMapIsNoMap) {
    const std::wstring text = salva::EncodeSkipMap(Written());
    for (size_t n = 0; n < text.size(); ++n)
        ASSERT_FALSE(salva::DecodeSkipMap(text.substr(0, n)).has_value()) << "cut after " << n << " characters";
}

TEST(SkipMap, DamagedMapsAreNoMaps) {
    const std::wstring good = salva::EncodeSkipMap(Written());
    const struct {
        const char* what;
        std::wstring text;
    } damaged[] = {
        {"header", Replaced(good, L"skip map 1", L"skip map 2")},
        {"count above the lines", Replaced(good, L"stretches=3", L"stretches=4")},
        {"count below the lines", Replaced(good, L"stretches=3", L"stretches=2")},
        {"count out of range", Replaced(good, L"stretches=3", L"stretches=99999999999999999999")},
        {"negative length", Replaced(good, L"source-length=3000000", L"source-length=-3000000")},
        {"sign before a number", Replaced(good, L"8194 32767", L"+8194 32767")},
        {"letters in a number", Replaced(good, L"200001 11", L"200001 1x")},
        {"no byte count", Replaced(good, L"200001 11", L"200001")},
        {"position 0", Replaced(good, L"8194 32767", L"0 32767")},
        {"overlapping stretches", Replaced(good, L"100000 0", L"40000 0")},
        {"stretches out of order", Replaced(good, L"200001 11", L"9000 11")},
        {"stretch past the source", Replaced(good, L"200001 11", L"3000001 11")},
        {"no source", Replaced(good, L"source=" + kSource, L"source=")},
        {"line after the end", good + L"1 1\r\n"},
        {"bare line feeds", Replaced(Replaced(good, L"\r\n", L"\n"), L"\r\n", L"\n")},
    };
    for (const auto& d : damaged) EXPECT_FALSE(salva::DecodeSkipMap(d.text).has_value()) << d.what;
}

TEST(SkipMap, MapOfAnotherTargetOrSourceIsNotTrusted) {
    const SkipMap m = Written();
    EXPECT_FALSE(salva::EarlierStretches(m, L"D:\\rescue\\视频\\renamed.dat", kSource, 3000000, 500016, 499984))
        << "a renamed target";
    EXPECT_FALSE(salva::EarlierStretches(m, kTarget, L"F:\\MPEGAV\\AVSEQ01.DAT", 3000000, 500016, 499984))
        << "another source";
    EXPECT_FALSE(salva::EarlierStretches(m, kTarget, kSource, 2999999, 500016, 499984)) << "another source length";
    EXPECT_FALSE(salva::EarlierStretches(m, kTarget, kSource, 3000000, 600016, 499984)) << "a target grown since";
    EXPECT_FALSE(salva::EarlierStretches(m, kTarget, kSource, 3000000, 500016, 100000)) << "another record position";
    SkipMap beyond = m;
    beyond.stretches.push_back({499980, 10});  // reaches past where the continue reads again
    EXPECT_FALSE(Taken(beyond));
}

TEST(SkipMap, StoredBesideTheTargetAsUtf8AndReadAlsoFromTheAnsiCodePage) {
    TempDir dir;
    salva::Win32CopyEnvironment env;
    const std::wstring target = dir / L"片段.dat";
    EXPECT_FALSE(salva::LoadSkipMap(target, env).has_value()) << "no map yet";
    ASSERT_TRUE(salva::SaveSkipMap(target, Written(), env));
    const auto bytes = ReadBytes(salva::SkipMapPath(target));
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(0xEF, bytes[0]);
    EXPECT_EQ(0xBB, bytes[1]);
    EXPECT_EQ(0xBF, bytes[2]);
    auto loaded = salva::LoadSkipMap(target, env);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(kSource, loaded->source);
    EXPECT_TRUE(Same(Written().stretches, loaded->stretches));

    // "é" is in the Western and the Chinese ANSI code pages, and its bytes there are no UTF-8.
    SkipMap ansiMap = Written();
    ansiMap.source = L"E:\\café\\AVSEQ01.DAT";
    const std::string ansi = salva::ToCodePage(CP_ACP, salva::EncodeSkipMap(ansiMap));
    ASSERT_TRUE(WriteBytes(salva::SkipMapPath(target), std::vector<uint8_t>(ansi.begin(), ansi.end())));
    loaded = salva::LoadSkipMap(target, env);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(ansiMap.source, loaded->source);

    salva::RemoveSkipMap(target, env);
    EXPECT_EQ(-1, FileLength(salva::SkipMapPath(target)));
}
