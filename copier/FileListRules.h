// Rules of the main window's file list and its commands that need no window: which view shows
// a file's properties, which files are read ahead for the media preview, the list's size
// limit, what a drop changes, the delete question and the target box that follows the current
// file.
#pragma once
#include "services/mGetOSverioninfo.h"
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace salva {

// The program's own properties window or the shell's property sheet.
enum class PropertyView { Own, Shell };
// By the last three characters of the path, whatever their case: ZIP, SWF, EXE and DLL files
// get the own window; MP3 files too, except on Windows XP, whose shell sheet shows their tags.
PropertyView PropertyViewFor(const std::wstring& path, const std::wstring& osVersionName);

// Local video files of 2,048 bytes or more on a CD-ROM (drive type 5) or a fixed disk (3) are
// read ahead so that the preview starts quickly; network paths never are.
bool ReadsAheadForPreview(const std::wstring& path, int64_t length, int32_t driveType);
constexpr int kReadAheadBytes = 2048;

// Adding a folder is refused once the list holds more items than the platform's list allows.
bool FileListFull(OSPlatformCode platform, int64_t count);

// What a drop does to the list, worked out over the names alone: every listed item naming a
// dropped file goes, so that the file ends up once, at the end, and each dropped file is a
// candidate to append once, in the drop's order. Names are compared as the file system compares
// them, whatever their case. One set of the dropped names, one pass over the list: the cost
// grows with the list plus the drop, not with their product.
struct DropPlan {
    std::vector<size_t> removed;  // places in the list, ascending
    std::vector<size_t> append;   // places in the drop: the first spelling of each name
};
// `comparisons`, when given, counts the name comparisons made.
DropPlan PlanDrop(const std::vector<std::wstring>& listed, const std::vector<std::wstring>& dropped,
                  size_t* comparisons = nullptr);

// The question of the delete command.
std::wstring DeleteQuestion(const std::wstring& path);

// The target box after the current file changed: the box's folder and the current file's name.
std::wstring TargetFollowing(const std::wstring& targetBox, const std::wstring& currentFile);

}  // namespace salva
