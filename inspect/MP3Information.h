// MP3Information: the facts of a file's first MPEG audio frame header. Set FileName, then
// read the properties. A value that cannot be had keeps what the object held before (zeros and
// empty texts in a new object).
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class MP3Information {
public:
    int16_t BitRate() const { return static_cast<int16_t>(bitRate_); }
    std::wstring BitStr() const { return bitStr_; }
    // Stores the path and parses the file when its length can be read; otherwise stores an
    // empty path and changes nothing else.
    void FileName(const std::wstring& path);
    std::wstring FileName() const { return parsedName_; }
    std::wstring FileSize() const { return std::to_wstring(fileSize_); }
    int64_t Frames() const { return frames_; }
    int64_t FrameSize() const { return frameSize_; }
    int32_t Frequency() const { return frequency_; }
    // Offset of the header in the file.
    std::wstring Header() const { return std::to_wstring(headerOffset_); }
    std::wstring Mode() const { return mode_; }
    std::wstring Version() const { return std::to_wstring(version_); }
    std::wstring Original() const { return original_; }
    std::wstring Copyrighted() const { return copyrighted_; }
    std::wstring CRCs() const { return crcs_; }
    std::wstring Emphasis() const { return emphasis_; }
    std::wstring PrivateMusic() const { return private_; }
    std::wstring Padding() const { return padding_; }
    std::wstring VersionLayer() const;
    std::wstring Layer() const { return std::to_wstring(layer_); }
    // Playing time; none when it does not fit a 16-bit signed number (over 32,767 s).
    std::optional<int16_t> Seconds() const;
    // Parses the file of the path stored last once more.
    void GetMPEGInfo();
    // True once a parse found a frame header; the fields above are facts only then.
    bool HasHeader() const { return hasHeader_; }

    // Called while a file is searched for its header, every piece read: the program lets its
    // windows answer there, as a search through a large file takes long.
    static void SetScanPump(std::function<void()> pump);

private:
    std::wstring requestedName_;
    std::wstring parsedName_;
    uint64_t fileSize_ = 0;
    int32_t bitRate_ = 0;
    int32_t frequency_ = 0;
    int16_t version_ = 0;
    int16_t layer_ = 0;
    uint64_t headerOffset_ = 0;
    std::wstring mode_, emphasis_, original_, copyrighted_, private_, crcs_, padding_;
    uint64_t seconds_ = 0;
    int64_t frameSize_ = 0;
    int64_t frames_ = 0;
    std::wstring bitStr_;
    bool hasHeader_ = false;
};
