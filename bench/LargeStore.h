#pragma once

namespace tempolatch {
class RecordStore;
}

namespace tempolatch::bench {

// A heavy user's data, written through the program's own addEntry in one
// batch: 20 clients x 3 projects x 3 tasks, `entries` time entries spread
// evenly over five years from 2021, a quarter of them paid, a tenth with a
// note. The same count always gives the same store.
// With `textNotes` every entry gets a note of two paragraphs of text (a
// real note, as the note page writes it) instead.
bool generateLargeStore(RecordStore& store, int entries, bool textNotes = false);

// The month in the middle of the five years: with 1,000,000 entries it
// holds about 16,400 of them.
inline constexpr int kMiddleYear = 2023;
inline constexpr int kMiddleMonth = 7;

}  // namespace tempolatch::bench
