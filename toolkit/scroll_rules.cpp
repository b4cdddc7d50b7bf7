#include "scroll_rules.h"

#include <algorithm>

namespace sorv::tk {

bool ShowsLastLine(const LineView& view) { return view.firstVisible + view.visibleLines >= view.lineCount - 1; }

int FirstLineShowingEnd(int lineCount, int visibleLines) { return std::max(0, lineCount - std::max(visibleLines, 1)); }

}  // namespace sorv::tk
