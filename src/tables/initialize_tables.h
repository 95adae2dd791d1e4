#pragma once
// Builds every controller code table once, before the first window needs a list.

namespace vm880 {

// Runs the table builders in their fixed order (time-out reset points first, tail
// messages last). Called once by the start-up routine.
void InitializeTables();

} // namespace vm880
