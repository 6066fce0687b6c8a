#pragma once

// A key press as the editor's handlers take it: the character it types, or one of these. A
// handler that sets it to Nessuno discards the key.
namespace Tasto {
constexpr int Nessuno = 0; // arrows, function keys: nothing typed
constexpr int Backspace = 8;
constexpr int Invio = 13;
} // namespace Tasto

// A key that is neither a digit nor Backspace is discarded with a beep.
void soloCifre(int &tasto);
