#pragma once
// Placeholder; the Qt shell and clipboard are being written.
