// Dialog templates the toolkit's own bases need, built for a given id.
#pragma once
#include "plat/types.h"

// A graph dialog: client width x height, an OK button (IDOK) and a Help
// button (id 3) along the bottom right, nothing else (the graph is drawn on
// the face). Registered in the module under templateId.
void uikit_register_graph_template(plat::HINSTANCE module, int templateId, const char* caption, int width,
                                   int height);
