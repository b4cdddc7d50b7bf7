#pragma once
// Scrolling a view of text lines (the log area) whose height changes.

namespace sorv::tk {

struct LineView {
    int lineCount = 0;     // lines of the text as shown, wrapped ones counted
    int firstVisible = 0;  // the line at the top of the view
    int visibleLines = 0;  // how many lines the view holds whole
};

// Whether the view shows the last line of text; the empty line after a
// final line break may lie below it.
bool ShowsLastLine(const LineView& view);

// The line to put at the top of a view of `visibleLines` lines so that it
// shows the end of the text, as far up as the text allows.
int FirstLineShowingEnd(int lineCount, int visibleLines);

}  // namespace sorv::tk
