#pragma once
// Placeholder; the Qt dialogs are being written.
