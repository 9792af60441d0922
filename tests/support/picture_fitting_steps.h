#pragma once

#include <functional>

class PictureFittingDialog;

// Waits, in the dialog's event loop, until the pictures are made: false when they took too long.
bool waitUntilMade(PictureFittingDialog &dialog);

// Once the dialog is open and its pictures are made, does `step` (by default presses "決定"),
// then closes the dialog if it is still open.
void whenMade(PictureFittingDialog &dialog, const std::function<void()> &step = {});
