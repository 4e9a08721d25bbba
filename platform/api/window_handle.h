#pragma once
// An opaque handle to a top-level window. The engine only passes it on.

namespace platform {

struct Window;
using WindowHandle = Window*;

}  // namespace platform
