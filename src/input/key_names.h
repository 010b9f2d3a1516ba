// Key names as players write them in bind lines ("UPARROW", "W", "F5",
// "MOUSE1", "KP_5"...): one table of names over the virtual-key codes
// of the key table, and which keys type a character into the console.
#pragma once

// The key of a name, case-insensitive; -1 when no key has it.
int key_of_name(const char* name);
// The name a key is shown with (its first in the table); nullptr for a code
// no key name covers.
const char* key_name(int vk);

// The names shown for keys, in table order (Tab completion walks them).
int key_name_count();
const char* key_name_at(int index);

// Letters, digits, space, punctuation and the keypad's digits and signs, and
// Backspace and Tab, which edit the typed line: keys that belong to the
// console while it is open.
bool key_types_in_console(int vk);
