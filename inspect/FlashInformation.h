// FlashInformation: the header facts of an uncompressed Flash movie. Call
// GetFlashInformation, then read the properties; a failed read changes none of them.
#pragma once
#include <cstdint>
#include <string>

class FlashInformation {
public:
    std::wstring Version() const { return std::to_wstring(version_); }
    int32_t Sizes() const { return static_cast<int32_t>(declaredLength_); }
    uint16_t Speed() const { return speed_; }
    uint16_t Frames() const { return frames_; }
    float Seconds() const { return seconds_; }
    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    int16_t Red() const { return red_; }
    int16_t Green() const { return green_; }
    int16_t Blue() const { return blue_; }
    // True when the file is an uncompressed movie ("FWS") whose header was read whole, with
    // a frame rate of at least one frame per second. The file is closed on every path.
    bool GetFlashInformation(const std::wstring& path);

private:
    uint8_t version_ = 0;
    uint32_t declaredLength_ = 0;
    uint16_t speed_ = 0;
    uint16_t frames_ = 0;
    float seconds_ = 0;
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    int16_t red_ = 0, green_ = 0, blue_ = 0;
};

// The shortest fixed-point text that reads back as the same single-precision value ("10",
// "8.33").
std::wstring ShortestFloatText(float value);
