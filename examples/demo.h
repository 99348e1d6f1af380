// Shared pieces of the demo program: one function per subsystem.
#ifndef ZOP_DEMO_H
#define ZOP_DEMO_H

#include <string>

// Writes UTF-16 text to stdout as UTF-8, followed by a line break.
void print(const std::wstring& text);
// Writes a section heading.
void section(const wchar_t* title);

void demo_core();
void demo_fs();
void demo_text();
void demo_time();
void demo_io();
void demo_thread();

#endif
