#pragma once
// Whether a dialog can be shown to a person at all: the services that show message boxes, file dialogs
// and the error report ask this before they show anything.

// True when a widget application runs on a platform that shows windows to a person (not offscreen or minimal).
bool canShowDialogs();
