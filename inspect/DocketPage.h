// The Summary tab's page of the properties window (pic_Docket): the file's shell icon and
// name, and either the summary text txtDocket (MP3 tag and MPEG header facts, Flash header
// facts) or, for a ZIP archive, the entry list lvZIPView.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace salva::DocketPage {

// Control identifiers on the page.
enum : int {
    IDC_PICICON_16A = 2201,
    IDC_TXTSHORTFILENAMEA,
    IDC_TXTDOCKET,
    IDC_LVZIPVIEW,
};

// Makes the page as a visible child of `parent` over the parent's whole client area, fills it
// for the file and returns it; null when it cannot be made. Moved or resized later, the page
// lays its controls out again; it goes with its parent. Of txtDocket and lvZIPView it shows
// the one the file's kind calls for (ShowBoxFor).
HWND ShowSummaryInfo(HWND parent, const std::wstring& path);

// Shows lvZIPView for a path whose upper-cased last three characters are "ZIP", else txtDocket.
void ShowBoxFor(HWND page, const std::wstring& path);

// The summary text of an MP3 or Flash file, as the page's txtDocket shows it: every line is
// preceded by CR LF. Empty for other files.
std::wstring DocketText(const std::wstring& path);

}  // namespace salva::DocketPage
