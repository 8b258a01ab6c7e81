// The text of the help window: a short guide to the program, in English, that
// points to the full user manual for everything else.
//
// The text is UTF-8, made of paragraphs separated by one empty line ("\n\n");
// a paragraph holds no line break of its own, so the window wraps it to its
// width. It is a constant: thread-safe, and no part of the engine (no Qt).

#ifndef VORN_UI_HELP_TEXT_H_
#define VORN_UI_HELP_TEXT_H_

namespace vorn {

// The help text. The pointer stays valid for the life of the program.
const char* HelpText();

}  // namespace vorn

#endif  // VORN_UI_HELP_TEXT_H_
