// The second tab of the properties window ("摘要[&D]") shows pages that other modules supply:
// the summary text and ZIP list, the resource browser of executables. Each kind of page
// registers a factory once at start-up; every opening of the window makes one page of each
// kind, in the order they were registered.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

namespace salva {

class SummaryPage {
public:
    virtual ~SummaryPage() = default;

    // Creates the page's window as a child of `parent` over `rect` (parent's client pixels),
    // visible, and returns it; null when it cannot be made. Called while the window loads,
    // before the window font is applied to every control.
    virtual HWND Create(HWND parent, const RECT& rect) = 0;
    // Fills the page for the file (the second step of filling the window); every page is
    // asked for every file and fills what belongs to it.
    virtual void ShowSummaryInfo(const std::wstring& path) = 0;
    // True when the second tab shows this page for the file; the first page registered that
    // answers True is shown.
    virtual bool ShowsFor(const std::wstring& path) const = 0;
    // The second tab shows the page: it may pick which of its controls are visible.
    virtual void OnShow(const std::wstring& /*path*/) {}
    // Boxes whose full text the window gives a tool tip once the page is filled.
    virtual std::vector<HWND> TipBoxes() const { return {}; }
    // The window closes: stop what runs and free what was loaded. The page's window goes with
    // the properties window afterwards.
    virtual void Unload() {}
};

using SummaryPageFactory = std::unique_ptr<SummaryPage> (*)();

// Adds a kind of page; a factory registered twice is kept once.
void RegisterSummaryPage(SummaryPageFactory factory);
// Takes a kind of page away again.
void UnregisterSummaryPage(SummaryPageFactory factory);
const std::vector<SummaryPageFactory>& RegisteredSummaryPages();

}  // namespace salva
