#include "windows/Mp3PreviewText.h"
#include "inspect/MP3Information.h"
#include "inspect/Mp3ID3v1TAG.h"
#include "services/FileSystem.h"
#include <cmath>

namespace salva {
namespace {

// Sizes up to this many bytes are shown in bytes, larger ones in KB rounded to whole ones.
constexpr uint64_t kBytesShownUpTo = 1024000;

}  // namespace

std::wstring Mp3PreviewText(const Mp3PreviewFacts& f) {
    const std::wstring separator(31, L'-');
    std::wstring t;
    auto line = [&t](const std::wstring& s) { t += s + L"\r\n"; };
    line(separator);
    line(L"文件大小：" + (f.length <= kBytesShownUpTo
                              ? filesystem_text::GroupedNumber(f.length) + L"字节"
                              : filesystem_text::GroupedNumber(static_cast<uint64_t>(std::round(f.length / 1024.0))) + L"KB"));
    if (f.hasTag) {
        line(L"[ID3v1信息]" + std::wstring(20, L'-'));
        line(L"曲名：" + f.title);
        line(L"艺人：" + f.artist);
        line(L"专集：" + f.album);
        line(L"音轨序号：" + f.track);
        line(L"年份：" + f.year);
        line(L"流派：" + f.genre);
        line(L"备注：" + f.comments);
    }
    line(L"[MPEG信息]" + std::wstring(21, L'-'));
    line(L"标头创建于：" + f.header + L"字节");
    if (!f.hasHeader) {
        line(separator);
        return t;
    }
    if (f.seconds) line(L"长度：" + std::to_wstring(*f.seconds) + L"秒");
    line(f.versionLayer);
    line(std::to_wstring(f.bitRate) + L"kbit/s  " + std::to_wstring(f.frames) + L"帧");
    line(std::to_wstring(f.frequency) + L"Hz  " + f.mode);
    line(L"CRCs：" + f.crcs);
    line(L"版权作品：" + f.copyrighted);
    line(L"正本原件：" + f.original);
    line(L"信号加重：" + f.emphasis);
    line(separator);
    return t;
}

Mp3PreviewFacts ReadMp3PreviewFacts(const std::wstring& path, uint64_t length) {
    Mp3PreviewFacts f;
    f.length = length;
    {
        Mp3ID3v1TAG tag;
        f.hasTag = tag.GetId3(path);
        if (f.hasTag) {
            f.title = tag.Title();
            f.artist = tag.Artist();
            f.album = tag.Album();
            f.track = tag.Track();
            f.year = tag.Year();
            f.genre = tag.Genre();
            f.comments = tag.Comments();
        }
    }
    // Setting the name parses the file: searched once.
    MP3Information header;
    header.FileName(path);
    f.hasHeader = header.HasHeader();
    f.header = header.Header();
    if (const std::optional<int16_t> s = header.Seconds()) f.seconds = *s;
    f.versionLayer = header.VersionLayer();
    f.bitRate = header.BitRate();
    f.frames = header.Frames();
    f.frequency = header.Frequency();
    f.mode = header.Mode();
    f.crcs = header.CRCs();
    f.copyrighted = header.Copyrighted();
    f.original = header.Original();
    f.emphasis = header.Emphasis();
    return f;
}

}  // namespace salva
