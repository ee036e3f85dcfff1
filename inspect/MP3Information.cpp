#include "inspect/MP3Information.h"
#include "inspect/FileByteSource.h"
#include "inspect/MpegHeader.h"
#include "services/FileSystem.h"
#include "services/mDoEvents.h"

using namespace salva;

namespace {

const wchar_t* const kModes[4] = {L"立体声", L"合成立体声", L"双声道", L"单声道"};
const wchar_t* const kEmphasis[4] = {L"None", L"50/15", L"Reserved", L"CCITT J 17"};
const wchar_t* YesNo(bool yes) { return yes ? L"Yes" : L"No"; }

// Sent messages and paints are answered; input waits, so no command runs in the middle of a
// parse.
std::function<void()>& ScanPump() {
    static std::function<void()> pump = [] { mDoEvents::AnswerWhenDue(); };
    return pump;
}

}  // namespace

void MP3Information::FileName(const std::wstring& path) {
    uint64_t length = 0;
    if (!FileLength64(path, length)) {
        requestedName_.clear();
        return;
    }
    requestedName_ = path;
    GetMPEGInfo();
}

std::wstring MP3Information::VersionLayer() const {
    return L"MPEG " + Version() + L".0 Layer " + Layer();
}

std::optional<int16_t> MP3Information::Seconds() const {
    if (seconds_ > 32767) return std::nullopt;
    return static_cast<int16_t>(seconds_);
}

void MP3Information::GetMPEGInfo() {
    parsedName_ = requestedName_;
    FileByteSource file(requestedName_);
    if (!file.IsOpen()) return;
    const readers::MpegScan scan = readers::ScanMpegHeader(file, ScanPump());
    if (!scan.sized) return;
    fileSize_ = scan.fileSize;
    if (!scan.found) return;
    hasHeader_ = true;
    headerOffset_ = scan.headerOffset;
    bitStr_.assign(L"");
    for (char c : readers::HeaderBits(scan.bytes)) bitStr_.push_back(static_cast<wchar_t>(c));
    const readers::MpegFields f = readers::DecodeMpegHeader(scan.bytes);
    version_ = static_cast<int16_t>(f.version);
    layer_ = static_cast<int16_t>(f.layer);
    mode_ = kModes[f.mode];
    emphasis_ = kEmphasis[f.emphasis];
    if (f.frequency) frequency_ = *f.frequency;
    if (f.bitRate) bitRate_ = *f.bitRate;
    original_ = YesNo(f.original);
    copyrighted_ = YesNo(f.copyrighted);
    private_ = YesNo(f.privateBit);
    padding_ = YesNo(f.padding);
    crcs_ = YesNo(f.crcProtected);
    if (auto size = readers::FrameSize(bitRate_, frequency_, f.padding)) frameSize_ = *size;
    if (auto count = readers::FrameCount(fileSize_, frameSize_)) frames_ = static_cast<int64_t>(*count);
    if (auto secs = readers::PlayingSeconds(fileSize_, bitRate_)) seconds_ = *secs;
}

void MP3Information::SetScanPump(std::function<void()> pump) { ScanPump() = std::move(pump); }
