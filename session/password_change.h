// The password-change mode: the older platform's own service changes the screen-saver password.
#pragma once

#include <string>

// Nothing on the NT family. Elsewhere hands the change to PwdChangePasswordA of mpr with the
// window whose handle the field holds; a field that is not a number, or an mpr without the
// service, skips the call.
void ChangeScreenSaverPassword(const std::wstring& windowHandleField);
