// kelpra-render page: one rendering as the viewer's window makes it.
#pragma once

#include "render_args.h"

namespace kelpra::render {

// Reads the options, FILE_OR_FOLDER and OUT, writes the picture to OUT and prints the caption.
void RunPage(Arguments& args);

}  // namespace kelpra::render
