// kelpra-render op: one library operation on one picture file.
#pragma once

#include "render_args.h"

namespace kelpra::render {

// Reads IN OUT OPERATION [ARGS] and writes OUT; throws BadInput or Refused.
void RunOperation(Arguments& args);

}  // namespace kelpra::render
