// Scanner: splits one block of text into words.
//
// ScanTextBlock prepares the block (backspaces, line breaks, no-break
// spaces, tabs, double hyphens), walks it from the left, measures each word
// with NumAlpha2, trims and normalises it, and hands it to its sink. Blocks
// and words are Windows-1252 bytes. What a word is comes from one
// AllowedExtraChars string, turned into lookup tables when the scanner is
// configured. With comment markers set, the text of comments is passed
// over; a comment may run on from one block into the next.
//
// One scanner per run; not thread-safe.

#ifndef VORN_WORDS_SCANNER_H_
#define VORN_WORDS_SCANNER_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "util/text.h"
#include "words/bracket_judge.h"
#include "words/char_classes.h"
#include "words/comment_markers.h"
#include "words/entities.h"
#include "words/normalise.h"
#include "words/simd_text.h"

namespace vorn {

// What the scanner hands its words to, and how it yields to the window.
class ScanSink {
 public:
  virtual ~ScanSink() = default;
  // A word, cleaned and normalised. The view is valid during the call. Lets
  // pending events run (throttled by the sink) and returns true when the
  // scan must end: a stop was requested or an invalid pattern was met.
  virtual bool OnWord(BytesView word) = 0;
  // Lets pending events run (throttled by the sink), where the scan goes a
  // long way without a word. Returns true when the scan must end.
  virtual bool Yield() = 0;
};

// PrepareBlock: removes backspaces; CR LF becomes one blank; LF, form feed,
// CR and no-break space become blanks; tabs too unless keep_tabs. Only the
// part of the block from `from` on is prepared.
void PrepareBlock(Bytes* block, bool keep_tabs, size_t from = 0);

// BlankDoubleHyphens: every "--" from the third character on that is neither
// the end of "<!--" nor the start of "-->" becomes two blanks.
void BlankDoubleHyphens(Bytes* block);

// The same for a line that arrives in pieces: *block holds the line from its
// character line_offset (0-based) on, and the search for "--" goes on from
// *from, where the last one stopped. With more_follows, a "--" at the very
// end waits for the next piece (a ">" may follow). Stores in *from where the
// next search is to begin.
void BlankDoubleHyphens(Bytes* block, size_t* from, size_t line_offset, bool more_follows);

// The longest word the scanner measures; a longer run of word characters
// is cut into words of this length.
inline constexpr size_t kMaxWordChars = 65000;

class Scanner {
 public:
  // Sets the word characters, whether a words file is being read and the
  // normalisation options, and clears the comment markers.
  //
  // While a words file is read, tabs become blanks, double hyphens stay, a
  // "<" may begin a word (a pattern such as "<colou?r>"), and words reach
  // the sink exactly as they stand in the block, only trimmed of inner-only
  // characters at their ends, so the sink may look at their characters.
  void Configure(TextView allowed_extra_chars, bool reading_word_lists,
                 const NormaliseOptions& options);

  // The comment markers of the text to come (none: every character is
  // scanned); forgets any comment left open.
  void SetCommentMarkers(const CommentMarkers& markers);
  // Whether the text to come is markup (set after SetCommentMarkers; Configure
  // clears it): the known entities of each block are decoded before it is
  // scanned (an entity cut by a line end stays as it is), an "&" opens a
  // comment only where an entity begins, and a "<" always ends a word, so
  // that no word runs into a tag.
  void SetMarkup(bool markup) { markup_ = markup; }
  bool markup() const { return markup_; }
  // Whether comment markers are set.
  bool HasCommentMarkers() const { return !markers_.empty(); }
  // A new file begins: a comment left open by the last one ends.
  void ResetComments() { comment_open_ = CommentMarkers::kNoComment; }
  // Whether a comment opened in a block runs on into the next one.
  bool InComment() const { return comment_open_ != CommentMarkers::kNoComment; }

  // What the caller already knows of a block, so that the preparation steps
  // can be passed over when they would change nothing.
  struct BlockHints {
    bool may_need_prepare =
        true;  // holds a backspace, line break, form feed, tab or no-break space
    bool may_hold_hyphens = true;  // holds a "-"
  };

  // ScanTextBlock: scans *block (rewritten by the preparation steps) and
  // hands every word to sink. The caller appends one blank to the block.
  void ScanTextBlock(Bytes* block, ScanSink* sink, const BlockHints& hints);
  void ScanTextBlock(Bytes* block, ScanSink* sink) { ScanTextBlock(block, sink, BlockHints()); }

  // A long line handed over in pieces: BeginLine(), then ScanPiece() for each
  // piece, lower-cased and decoded as a block is; the caller appends the one
  // blank to the last piece only. The words are those of the whole line: the
  // scanner keeps back the end of each piece (at most kLookahead bytes, as
  // far as a word and its bracketed expression reach) until the next piece
  // shows how it goes on. Returns true when the scan must end.
  static constexpr size_t kLookahead = 66002;
  void BeginLine();
  bool ScanPiece(BytesView piece, bool last, ScanSink* sink, const BlockHints& hints);

  // NumAlpha2: the length of the word that begins at pos (0-based), at most
  // 65000; sets the stopped-at flags from the character after it.
  size_t NumAlpha2(BytesView block, size_t pos);

  // What stopped the last word measured: the character right after it.
  bool StoppedAtSemiColon() const { return stopped_at_ == ';'; }
  bool StoppedAtPeriod() const { return stopped_at_ == '.'; }
  bool StoppedAtDoubleQuote() const { return stopped_at_ == '"'; }
  bool StoppedAtTab() const { return stopped_at_ == '\t'; }

  const CharClassTable& classes() const { return classes_; }
  const NormaliseOptions& options() const { return options_; }

  // Whether the words of a line without "<", backspace or "--" are exactly
  // the runs of word characters, each from its first start character to its
  // last (at most kMaxWordChars long), kept unless IsDiscarded: true when no
  // comment markers or markup are set, no words file is read, no rule
  // changes words, and no blank, control character or no-break space is a
  // word character.
  bool TakesPlainRuns() const;

  // How many characters the scanner has looked at to measure words so far:
  // the work of a scan, which grows with the length of the text and no
  // faster.
  uint64_t measured() const { return measured_; }

 private:
  // The length of the word at pos, which begins with a word-start
  // character: a run of word characters read from word_bits_, and
  // MeasureWord when a "<" or the word's limit ends the run.
  size_t MeasureFromStart(BytesView block, size_t pos);
  // The first position from `from` on that holds no word character, and at
  // most limit, read from word_bits_. REQUIRES: from <= limit <= the length
  // of the block word_bits_ was made from.
  size_t WordRunEnd(size_t from, size_t limit) const;
  // Trims and normalises the measured block[start, start + n) into
  // word_view_. Returns false for no word.
  bool TakeWord(BytesView block, size_t start, size_t n);
  size_t NextGreaterThan(BytesView block, size_t from);
  size_t NextSpace(BytesView block, size_t from);

  CharClassTable classes_;
  ByteSet word_set_;  // the word characters of classes_, for the vector kernels
  // The word characters of the block being scanned: bit i % 64 of
  // word_bits_[i / 64] for character i, clear from the block's end on.
  std::vector<uint64_t> word_bits_;
  bool reading_word_lists_ = false;
  NormaliseOptions options_;
  char stopped_at_ = 0;
  bool changes_words_ = false;
  Bytes word_;
  BytesView word_view_;  // the word handed on: a view of the block or of word_
  // Scans b from pos on and hands over its words, up to the first word start
  // at or after `stop`. Returns the position where it stopped; sets *ended
  // when the sink asked to end the scan. block_ends: b ends where its line
  // ends (false for a piece of a long line with more to follow).
  size_t ScanRange(BytesView b, size_t pos, size_t stop, bool block_ends, ScanSink* sink,
                   bool* ended);
  // The scan loop, built twice so that text without comment markers pays
  // nothing for them.
  template <bool kMarkers>
  size_t ScanLoop(BytesView b, size_t pos, size_t stop, bool block_ends, ScanSink* sink,
                  bool* ended);
  // NumAlpha2 within the block being scanned.
  size_t MeasureWord(BytesView block, size_t pos);

  // The line arriving in pieces: what is not scanned yet, its offset in the
  // line, and where the search for "--" goes on.
  Bytes carry_;
  size_t carry_offset_ = 0;
  size_t hyphens_from_ = 0;
  BracketJudge judge_;
  CommentMarkers markers_;
  int comment_open_ = CommentMarkers::kNoComment;  // the pair of the open comment
  bool markup_ = false;
  EntityDecodeState decode_;  // where the entities of a line in pieces go on
  uint64_t measured_ = 0;
  // Caches of the next ">" and the next blank at or after a position, so
  // that measuring words across a block stays linear.
  size_t gt_from_ = 0;
  size_t gt_at_ = 0;
  size_t space_from_ = 0;
  size_t space_at_ = 0;
};

}  // namespace vorn

#endif  // VORN_WORDS_SCANNER_H_
