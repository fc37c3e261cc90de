// Identifiers of the resources in rubblit.rc, shared by the resource script and the code.
// An include guard rather than #pragma once: the resource compiler reads this file too.
#ifndef RUBBLIT_RESOURCES_RESOURCE_IDS_H
#define RUBBLIT_RESOURCES_RESOURCE_IDS_H

#define IDI_RUBBLIT 1
#define IDC_HAND_POINTER 101
#define IDR_PREVIEW_PICTURE 201

#endif
