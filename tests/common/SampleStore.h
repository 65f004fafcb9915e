#pragma once

class QString;

namespace tempolatch {
class RecordStore;
}

namespace tempolatch::test {

// Fills an open store with a fixed, varied data set: four clients with
// projects, tasks, contacts and rates, `entries` time entries over two
// years (every status, start times, breaks, notes of every size up to one
// past the mini stream's limit) and a few expenses of both kinds. The same
// count always gives the same records, so files written from it can be
// compared byte for byte with golden files.
bool fillSampleStore(RecordStore& store, int entries);

// tests/data/<relative>; with TEMPOLATCH_REGENERATE_GOLDEN set, the golden
// files the tests compare with are written again from what they produce.
QString testDataPath(const QString& relative);
bool regeneratingGoldenFiles();

}  // namespace tempolatch::test
