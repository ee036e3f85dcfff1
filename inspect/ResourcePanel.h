// The browser's preview panel: a picture box that keeps what is painted and printed on it, with
// a print position that moves down a line per printed line.
#pragma once
#include "services/PictureBox.h"
#include <string>
#include <vector>

namespace salva {

class ResourcePanel {
public:
    explicit ResourcePanel(PictureBox& box) : box_(box) {}

    PictureBox& Box() { return box_; }
    HWND Window() const { return box_.Window(); }
    // Erases the panel and moves the print position to the top-left corner.
    void Cls();
    // Prints the text from the print position; every CRLF starts a new line, and the line
    // after the text starts below it, as a printed line does. A line wider than the panel goes
    // on below, broken at a blank where it has one.
    void Print(const std::wstring& text);
    // How many lines Print would draw for the text at the panel's width.
    int DrawnLines(const std::wstring& text);
    // The top of the next printed line.
    int PrintTop() const { return y_; }
    // The lines printed since the last Cls, in order.
    const std::vector<std::wstring>& PrintedLines() const { return lines_; }
    int InnerWidth() const;
    int InnerHeight() const;
    int LineHeight();

private:
    // Lays the text out as Print does; draws it only when `draw`. The result is the number of
    // lines laid out.
    int LayOut(const std::wstring& text, bool draw);

    PictureBox& box_;
    int y_ = 0;
    std::vector<std::wstring> lines_;
};

}  // namespace salva
