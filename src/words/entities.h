// Character entities of markup files: whether an "&" begins one, and
// replacing the entities the counter knows by their characters.
//
// Texts are Windows-1252 bytes. Pure functions; thread-safe.

#ifndef VORN_WORDS_ENTITIES_H_
#define VORN_WORDS_ENTITIES_H_

#include <cstddef>

#include "util/text.h"

namespace vorn {

// Whether s begins with an entity. 0 when s is shorter than 4 characters or
// does not begin with "&"; 1 for a numeric one ("&#" ...); otherwise the
// 1-based position of the first ";" when no blank stands before it, it lies
// before position 21 and the second character is a letter (IsLetterChar),
// else 0.
int IsEntityAt(BytesView s);

// Where DecodeEntities stopped: the next call, on the same text grown at
// its end, goes on from `from`; with amp_lost, an "&" that stood before
// `from` (and is no longer in the text) still waits for its ";".
struct EntityDecodeState {
  size_t from = 0;
  bool amp_lost = false;
};

// Replaces, from the left, each "&...;" (from an "&" to the next ";") that
// is "&quot;" or in the table of known entities (&copy; &amp; &nbsp; &#160;
// &#8212; and the Latin-1 letters, names matched with their case) by its
// character; the search goes on right after the character put in. An
// unknown "&...;" stays, and the search goes on after its ";", so an "&"
// without an entity hides the next entity on the line. Stops at an "&" with
// no ";" after it.
void DecodeEntities(Bytes* text);

// The same for a text that grows at its end (a long line in pieces): decodes
// from state->from on and stores where the next call is to go on.
void DecodeEntities(Bytes* text, EntityDecodeState* state);

}  // namespace vorn

#endif  // VORN_WORDS_ENTITIES_H_
