#include "ui/help_text.h"

namespace vorn {

namespace {

// The paragraphs in the order the window shows them; each ends in the blank
// line that separates it from the next.
constexpr const char kHelpText[] =
    // 1. The manual.
    "The full user manual comes with VORN: click on the link \"Online user manual\" in the main "
    "window (it is shown under the results box when no counts are shown there) to open it in "
    "your web browser. It explains every option and has screenshots, so it is worth a look. "
    "This help window may be resized.\n\n"

    // 2. What the program does.
    "VORN scans a file (a .docx document or a text file), a set of files (all the files of a "
    "folder, with or without its subfolders) or the text on the clipboard, and counts the "
    "occurrences of the different words. It can also count just the words and phrases of a "
    "list, and it works with languages other than English. The words are listed "
    "alphabetically or by frequency, in one of fourteen formats; for a folder, it can list the "
    "files in which each word, or each of the listed words and phrases, occurs.\n\n"

    // 3. Input files.
    "An input file may have any extension, but it must be a .docx document or text: a file "
    "with no byte below 32 except tab (9), line feed (10) and carriage return (13). Text in "
    "UTF-8, UTF-16 (and UTF-32) and Windows-1252 is read; web pages and XML files are read "
    "without their markup. To count the text of a PDF or RTF file, or of another format that "
    "VORN does not read, open it in its own program, copy the text to the clipboard, choose "
    "\"Clipboard\" as the source and count.\n\n"

    // 4. Limits.
    "VORN is made for input text files of up to about 10 MB each (a .docx document may hold "
    "up to 20 MB of text). The results box holds 65,000 characters, so only the first part of "
    "a large listing (a few thousand lines) appears there.\n\n"

    // 5. The output file.
    "For large files, and for folders, an output file should be defined (\"Output file\"): the "
    "results are always written to it in full, whatever the results box can show.\n\n"

    // 6. Typed text.
    "Text typed or pasted into the results box is not counted from there: select it and copy "
    "it to the clipboard (Ctrl+C), then count with \"Clipboard\" as the source.\n\n"

    // 7. Customising.
    "The count can be customised in the Settings window (the \"Settings\" button): what counts "
    "as a word, counting all words or all phrases, words to ignore, and a file of the only "
    "words and phrases to be counted. With \"Save settings when quitting\" ticked there, the "
    "settings are saved when VORN quits and restored at the next start; \"Save settings\" "
    "saves them at once.\n\n"

    // 8. Words to ignore.
    "Words to ignore (\"stop words\") come from a file of your choice, a plain list of words, "
    "and from the box \"Extra words to ignore:\". Several words-to-ignore files and several "
    "count-only files can be kept in their lists (up to 99 each) and switched between.\n\n"

    // 9. Languages.
    "Besides English, text in German, French, Italian, Spanish and Portuguese can be counted, "
    "with a list of the common words of each language to ignore (\"Ignore common words in:\"), "
    "and so can program source code, without its comments.\n\n"

    // 10. Folders.
    "When a folder is scanned, the files can be restricted to those whose names match "
    "patterns (\"Scan files matching patterns:\", such as *.txt, *.docx), where \"*\" stands "
    "for any, possibly empty, string and \"?\" for any one character, and files and "
    "subfolders whose paths contain given texts (without spaces) can be skipped (\"Exclude "
    "filepaths containing text:\"). \"List files to be scanned\" shows beforehand which files "
    "will be read.\n\n"

    // 11. Count-only words.
    "When count-only words or phrases are set, only they are counted. The \"Ignore words:\" "
    "filters on the shape of a word (no vowel, no letter, repeated letters) then have no "
    "effect, and words to ignore make no difference, except that a word in both lists is "
    "counted. For a folder, the display formats \"word freq no.files\", \"word file-list\" and "
    "\"word file-list (+ freq)\" show in how many files, and in which files, each of them "
    "occurs.\n\n"

    // 12. Pattern matching.
    "Words to ignore, and words and phrases to count, can be patterns: simply with the "
    "wildcards \"~\" (any string) and \"?\" (any one character), as in b~t or colo?r, or with "
    "regular expressions in angle brackets, as in <colou?r>. The entries typed into the two "
    "boxes of the Settings window are always patterns; the entries of a words file are "
    "patterns when its box under \"Enable pattern matching for:\" is ticked. Pattern matching "
    "may be much slower on large files. The page \"Pattern matching\" of the user manual "
    "explains it.\n\n"

    // 13. Spreadsheets.
    "The output file can be read into a spreadsheet: open it as delimited text, with the "
    "Windows-1252 (\"Western\") character set and the tab as delimiter. With \"Include commas "
    "in output file\" ticked, commas are written instead. The button \"Make 2-d count array "
    "for Excel\" writes a table of words against the files of a folder; see \"Creation of an "
    "Excel File with a Table of Words/Phrases vs Files\" in the user manual.\n\n"

    // 14. Credits.
    "VORN is written and maintained by Quillon Systems. The lists of common words are derived "
    "from the stopwords-iso collection (MIT licence). Thank you for using VORN; comments and "
    "reports of problems are welcome.";

}  // namespace

const char* HelpText() { return kHelpText; }

}  // namespace vorn
