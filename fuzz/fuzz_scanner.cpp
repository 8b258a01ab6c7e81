// Fuzz target: the scanner and the word normaliser.
//
// Input: byte 0 and byte 1 choose the allowed extra word characters and the
// normalisation options, byte 2 the scan mode (words file or not, lower
// case, C comment markers or, for text that is no words file, the markers
// and markup of an HTML, XML or PHP file) and how many of the bytes after it (0 to 3) are
// the user's own extra characters; the rest is the block. The block is
// scanned as the engine scans a line (one blank appended), by a sink that
// checks every word, and scanned again with the hints a caller may give,
// which must not change the words. Each piece of the block between blanks
// also goes through NormaliseWord directly. A failed check aborts, which
// libFuzzer reports as a crash together with the input.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/settings.h"
#include "words/char_classes.h"
#include "words/comment_markers.h"
#include "words/normalise.h"
#include "words/scanner.h"

namespace {

using vorn::Bytes;
using vorn::BytesView;

constexpr size_t kMaxWordChars = 65000;

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz_scanner: check failed: %s\n", what);
  std::abort();
}

bool IsInnerOnly(char c) { return BytesView("'.,()+-").find(c) != BytesView::npos; }

class CheckingSink : public vorn::ScanSink {
 public:
  CheckingSink(const Bytes* block, const vorn::Scanner* scanner, bool reading_word_lists,
               const vorn::NormaliseOptions& options)
      : block_(block),
        scanner_(scanner),
        reading_word_lists_(reading_word_lists),
        options_(options),
        changes_words_(vorn::NormaliseChangesWords(options)) {}

  bool OnWord(BytesView word) override {
    Check(word.size() >= 2, "a word has two characters or more");
    Check(word.size() <= kMaxWordChars, "a word is at most 65000 characters");
    // A blank is a word character only when the user's characters hold one.
    Check(scanner_->classes().IsWord(' ') || word.find(' ') == BytesView::npos,
          "a word holds no blank");
    Check(scanner_->classes().IsStart(word[0]) || (reading_word_lists_ && word[0] == '<'),
          "a word begins with a word-start character");
    Check(!vorn::IsDiscardedSlow(word, options_), "a word handed on is not discarded");
    // Words come in the order of the prepared block, each from a later
    // position than the one before.
    const BytesView block = *block_;
    size_t at;
    if (!changes_words_) {
      // Handed on as measured: a trimmed piece of the block itself.
      Check(word.data() >= block.data() && word.data() + word.size() <= block.data() + block.size(),
            "an unchanged word is a view of the block");
      at = static_cast<size_t>(word.data() - block.data());
      Check(at >= from_, "words come in order");
      Check(!IsInnerOnly(word.back()), "a word does not end with an inner-only character");
    } else {
      // "ies" to "y" and the dropped "s" change only the end of the word.
      at = block.find(word.substr(0, word.size() - 1), from_);
      Check(at != BytesView::npos, "a normalised word comes from the block, in order");
    }
    from_ = at + 1;
    // FNV-1a over the words and their ends, to compare two scans.
    for (char c : word) digest_ = (digest_ ^ static_cast<uint8_t>(c)) * 1099511628211u;
    digest_ = (digest_ ^ 0x100u) * 1099511628211u;
    return false;
  }

  bool Yield() override { return false; }

  uint64_t digest() const { return digest_; }

 private:
  const Bytes* block_;
  const vorn::Scanner* scanner_;
  bool reading_word_lists_;
  vorn::NormaliseOptions options_;
  bool changes_words_;
  size_t from_ = 0;
  uint64_t digest_ = 14695981039346656037u;
};

// Scans a copy of block; returns the digest of the words found.
uint64_t Scan(vorn::Scanner* scanner, Bytes block, bool reading_word_lists,
              const vorn::NormaliseOptions& options, const vorn::Scanner::BlockHints& hints) {
  CheckingSink sink(&block, scanner, reading_word_lists, options);
  scanner->ResetComments();
  scanner->ScanTextBlock(&block, &sink, hints);
  return sink.digest();
}

// NormaliseWord on its own: a kept word has two characters or more and
// differs from the piece only at its end; when the options change no word,
// it keeps the piece exactly when the discard tests (fast and slow) do.
void CheckNormalise(BytesView piece, const vorn::NormaliseOptions& options) {
  const bool discarded = vorn::IsDiscardedSlow(piece, options);
  Check(vorn::IsDiscarded(piece, options) == discarded, "fast and slow discard tests agree");
  Bytes word(piece);
  const bool kept = vorn::NormaliseWord(&word, options);
  if (!vorn::NormaliseChangesWords(options)) {
    Check(kept == !discarded, "NormaliseWord discards as IsDiscarded does");
    if (kept) Check(word == piece, "NormaliseWord changed a word");
  }
  if (!kept) return;
  Check(word.size() >= 2, "a kept word has two characters or more");
  Check(word.size() <= piece.size() && word.size() + 2 >= piece.size(), "normalised length");
  Check(piece.starts_with(BytesView(word).substr(0, word.size() - 1)), "only the end changes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 3) return 0;
  const uint8_t a = bytes[0];
  const uint8_t b = bytes[1];
  const uint8_t mode = bytes[2];
  size_t used = 3;

  vorn::Settings s;
  s.AllowWordsWithHyphens = (a >> 0) & 1;
  s.AllowWordsWithApostrophes = (a >> 1) & 1;
  s.AllowWordsWithUnderscores = (a >> 2) & 1;
  s.AllowWordsWithColons = (a >> 3) & 1;
  s.AllowWordsWithBackslashes = (a >> 4) & 1;
  s.AllowWordsWithForwardslashes = (a >> 5) & 1;
  s.AllowWordsWithPeriods = (a >> 6) & 1;
  s.AllowWordsWithAtSigns = (a >> 7) & 1;
  s.AllowWordsWithNumerals = (b >> 0) & 1;
  s.AllowWordsWithParentheses = (b >> 1) & 1;
  s.AllowWordsWithAmpersands = (b >> 2) & 1;
  s.AllowWordsWithCommas = (b >> 3) & 1;
  // The user's characters, cleaned as their box cleans them.
  const size_t user_count = std::min<size_t>(mode & 3, size - used);
  s.UserSpecifiedExtraChars.assign(reinterpret_cast<const char*>(bytes) + used, user_count);
  used += user_count;
  vorn::CleanUserExtraChars(&s.UserSpecifiedExtraChars);
  s.AllowWordsWithUserSpecifiedExtraChars = ((b >> 4) & 1) && !s.UserSpecifiedExtraChars.empty();

  vorn::NormaliseOptions options;
  options.convert_final_ies = (b >> 5) & 1;
  options.drop_final_s = (b >> 6) & 1;
  options.all_phrases_mode = (b >> 7) & 1;
  options.allow_apostrophes = s.AllowWordsWithApostrophes != 0;
  const bool reading_word_lists = (mode >> 2) & 1;
  const bool lower_case = (mode >> 3) & 1;
  const bool comment_markers = (mode >> 4) & 1;
  static constexpr std::string_view kMarkupExtensions[] = {"", "htm", "xml", "php"};
  const std::string_view markup_ext = reading_word_lists ? "" : kMarkupExtensions[(mode >> 5) & 3];
  const BytesView text(reinterpret_cast<const char*>(bytes) + used, size - used);
  Bytes block(text);
  if (lower_case) vorn::LowerCaseAccentedInPlace(&block);
  block.push_back(' ');

  vorn::Scanner scanner;
  scanner.Configure(vorn::BuildAllowedExtraChars(s), reading_word_lists, options);
  if (!markup_ext.empty()) {
    const vorn::FileMarkers markup = vorn::MarkersForExtension(markup_ext, false);
    scanner.SetCommentMarkers(markup.markers);
    scanner.SetMarkup(markup.is_markup);
  } else if (comment_markers) {
    scanner.SetCommentMarkers(vorn::CommentMarkers::ForType("C"));
  }
  vorn::NormaliseOptions effective = options;
  effective.reading_word_lists = reading_word_lists;

  const uint64_t words =
      Scan(&scanner, block, reading_word_lists, effective, vorn::Scanner::BlockHints());
  // A caller that knows the block holds no line break, tab, form feed,
  // backspace or no-break space (or no "-") may say so; the words stay the
  // same.
  vorn::Scanner::BlockHints hints;
  hints.may_need_prepare = block.find_first_of(BytesView("\b\t\n\f\r\xA0", 6)) != Bytes::npos;
  hints.may_hold_hyphens = block.find('-') != Bytes::npos;
  if ((!hints.may_need_prepare || !hints.may_hold_hyphens)) {
    Check(Scan(&scanner, block, reading_word_lists, effective, hints) == words,
          "the hints change no word");
  }

  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == BytesView::npos) end = text.size();
    if (end > start) CheckNormalise(text.substr(start, end - start), effective);
    start = end + 1;
  }
  return 0;
}
