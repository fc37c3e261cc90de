// Putting PreviewForm into the host's preview pane.
#pragma once

#include <string>

#include "preview/preview_form.h"

// Loads form and makes it a child of the window whose handle windowHandleField holds, covering
// the pane from its top-left corner, then shows it. An invalid handle leaves the pane 0 x 0 and
// the form shown there until it is unloaded. False only when the form could not be loaded.
bool EmbedPreview(PreviewForm& form, const std::wstring& windowHandleField);

// Whether the preview should go on: its form and the host's window both still exist. A pane
// destroyed in the host's process does not always tell this one (a host that ends without
// destroying it tells nothing at all), so the preview watches for it.
bool PreviewStillInPane(const PreviewForm& form, const std::wstring& windowHandleField);
