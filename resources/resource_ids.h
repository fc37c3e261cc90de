// Identifiers of the resources in rubblit.rc, shared by the resource script and the code.
// An include guard rather than #pragma once: the resource compiler reads this file too.
#ifndef RUBBLIT_RESOURCES_RESOURCE_IDS_H
#define RUBBLIT_RESOURCES_RESOURCE_IDS_H

#define IDI_RUBBLIT 1
#define IDC_HAND_POINTER 101
#define IDR_PREVIEW_PICTURE 201
// The saver's name in the Screen Saver Settings list: string 1, as the system looks for it.
#define IDS_DESCRIPTION 1

// The settings dialog's skin, in the formats the pictures come in (see scripts/make_skin_pictures.py).
#define IDR_SKIN_TILE 301
#define IDR_SKIN_HEADER 302
#define IDR_SKIN_BUTTON_NORMAL 303
#define IDR_SKIN_BUTTON_PRESSED 304
#define IDR_SKIN_OPTION_ON 305
#define IDR_SKIN_OPTION_OFF 306
#define IDR_SKIN_CHECK_ON 307
#define IDR_SKIN_CHECK_OFF 308

#endif
