#pragma once
// Small edits of narrow path texts, aware of multibyte characters.

// The last occurrence of c in the text, or null.
char* FindLast(char* text, char c);

// Ends the text at the last occurrence of c; a text without one is left unchanged.
void CutAtLast(char* text, char c);
