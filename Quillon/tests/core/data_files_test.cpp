// The four data files: their exact bytes, round trips, wrapped and full
// rings, and loads of damaged or foreign files that must change nothing; the
// same buffers as CSV, read back by a parser of its own.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <utility>

#include "com_data.h"
#include "csv_export.h"
#include "recording_window.h"

namespace quillon {

// A file of each kind, by view, with negative values, the widest integers,
// times that turn scientific and positions either side of six characters
// (three TABs after the shorter); and the writer of each, with the file's units.
const QByteArray kFiles[] = {
    "wren1.1setupandstatus\r\nPosUnits=microns\r\nPositionResMult=0.25\r\n"
    "PositionInterpMult=4\r\nPos\txAD\tyAD\tStatus\tTime\r\n"
    "-5\t100\t200\t3\t0.1000\r\n123456\t65535\t0\t32768\t0.0125\r\n0\t0\t-1\t7\t1.2346E+05\r\n",
    "wren1.1encodersignal\r\nxAD\tyAD\tMag\tAngle\tTime\r\n"
    "0\t2048\t4095\t0\t0.00100\r\n65535\t1\t0\t1234\t2.50000\r\n",
    "wren1.1signalstrength\r\nPosUnits=counts\r\nPositionResMult=1\r\n"
    "PositionInterpMult=1E-6\r\nPos\txAD\tyAD\tTime\r\n"
    "-2147483648\t1\t3\t0.00050\r\n7\t2\t4\t10.00000\r\n",
    "wren1.1positionvelocity\r\nPosUnits=inches\r\nPositionResMult=0.001\r\n"
    "PositionInterpMult=0.5\r\nPos\t\t\tVel\t\t\tTime\r\n"
    "12345\t\t\t0.50000000\t\t0.01000\r\n-12345\t\t-1234.56774902\t\t0.01000\r\n"
    "123456\t\t9.99999982797E+12\t\t0.01000\r\n99999\t\t\tINF\t\t0.00000\r\n"};
const std::function<bool(const ComData&, const QString&)> kSave[] = {
    [](const ComData& d, const QString& f) { return d.SaveStatusData(f, "microns", 0.25, 4); },
    [](const ComData& d, const QString& f) { return d.SaveSignalData(f); },
    [](const ComData& d, const QString& f) { return d.SaveStrengthData(f, "counts", 1, 1e-6f); },
    [](const ComData& d, const QString& f) { return d.SavePositionData(f, "inches", 1e-3f, .5f); }};

QByteArray Magic(int view) { return kFiles[view].left(kFiles[view].indexOf('\r')); }
QByteArray Header(int view) {
  return kFiles[view].left(kFiles[view].indexOf("\r\n", kFiles[view].indexOf("Time")) + 2);
}

// RFC 4180 read back: commas outside quotes end fields, "" inside them is a
// quote, and CR LF ends every row.
QList<QStringList> ParseCsv(const QByteArray& text) {
  QList<QStringList> rows{{}};
  QByteArray field;
  bool quoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QByteArrayView rest = QByteArrayView(text).sliced(i);
    const bool rowEnd = rest.startsWith("\r\n");
    if (quoted && rest.startsWith("\"\""))
      field += text[i++];
    else if (text[i] == '"')
      quoted = !quoted;
    else if (quoted || (text[i] != ',' && !rowEnd))
      field += text[i];
    else {
      rows.back() << QString::fromUtf8(std::exchange(field, {}));
      if (rowEnd) rows.append(QStringList{}), ++i;
    }
  }
  EXPECT_TRUE(rows.takeLast().isEmpty() && field.isEmpty() && !quoted) << "a row left open";
  return rows;
}
QList<float> Numbers(const QStringList& fields) {
  QList<float> numbers;
  for (const QString& field : fields) numbers << field.toFloat();
  return numbers;
}
// Units that need quoting; positions stay whole counts through their scaling.
const CsvUnits kCsvUnits{"mm, \"fine\"", 0.5f, 2, 2};
const QString kPos = "position (mm, \"fine\")";
const QStringList kCsvHeaders[] = {
    {kPos, "sine (counts)", "cosine (counts)", "status", "interval (s)"},
    {"sine (counts)", "cosine (counts)", "magnitude (counts)", "angle (counts)", "interval (s)"},
    {kPos, "sine (counts)", "cosine (counts)", "interval (s)"},
    {kPos, "velocity (mm, \"fine\"/s)", "interval (s)"}};

class DataFiles : public ::testing::Test {
 protected:
  QString PathOf(const QString& name) const { return dir_.filePath(name); }
  QByteArray Get(const QString& name) const {
    QFile file(PathOf(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  void Put(const QString& name, const QByteArray& bytes) const {
    QFile file(PathOf(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  // What a load sets: write index, wrapped, elapsed time, review count, index
  // and time, and the pending clear of the next live start.
  using State = std::tuple<int32_t, bool, float, int32_t, int32_t, float, bool>;
  static State StateOf(const ComData& d, int v) {
    return {d.WriteIndex[v], d.BufferWrapped[v], d.ElapsedTime[v], d.ReviewCount[v],
            d.ReviewIndex[v], d.ReviewTime[v], d.ClearPending[v]};
  }
  // The buffer's CSV holds the rows of its data file `name`, number for number.
  void ExpectCsvOfFile(int v, const QString& name) const {
    const QList<QStringList> csv = ParseCsv(BufferCsv(*data_, v, kCsvUnits));
    const QList<QByteArray> rows = Get(name).trimmed().split('\n').mid(Header(v).count('\n'));
    ASSERT_EQ(csv.size(), rows.size() + 1);
    EXPECT_EQ(csv[0], kCsvHeaders[v]);
    for (qsizetype i = 0; i < rows.size(); ++i)
      ASSERT_EQ(Numbers(csv[i + 1]), Numbers(QString::fromLatin1(rows[i]).simplified().split(' ')));
  }

  RecordingWindow window_;
  QTemporaryDir dir_;
  std::unique_ptr<ComData> data_ = std::make_unique<ComData>(1, window_);
};

// A CSV field is quoted for any one reason alone (a comma, a quote, which
// is doubled, a carriage return, a line feed), and only for one.
TEST_F(DataFiles, CsvFieldsAreQuotedForEachReasonAlone) {
  const std::pair<QString, QByteArray> cases[] = {
      {"mm", "position (mm),velocity (mm/s),interval (s)\r\n"},
      {"a,b", "\"position (a,b)\",\"velocity (a,b/s)\",interval (s)\r\n"},
      {"a\"b", "\"position (a\"\"b)\",\"velocity (a\"\"b/s)\",interval (s)\r\n"},
      {"a\nb", "\"position (a\nb)\",\"velocity (a\nb/s)\",interval (s)\r\n"},
      {"a\rb", "\"position (a\rb)\",\"velocity (a\rb/s)\",interval (s)\r\n"}};
  for (const auto& [name, header] : cases) {
    SCOPED_TRACE(name.toStdString());
    const QByteArray csv = BufferCsv(*data_, PositionView, {name, 1, 1, 0});
    EXPECT_EQ(csv.left(header.size()), header);
    EXPECT_EQ(ParseCsv(csv).value(0).value(0), "position (" + name + ")");
  }
}

// Each file, the same under its old magic, and its header alone load for a
// review from the first row, and are written again byte for byte; near misses
// of the magic are refused and change nothing.
TEST_F(DataFiles, EachFormLoadsForReviewAndIsWrittenAgainByteForByte) {
  // Rows, their summed times, units, count length and position scale.
  const std::tuple<int32_t, float, std::tuple<QString, float, float>> expected[] = {
      {3, 0.1f + 0.0125f + 123460.0f, {"microns", 0.25f, 4.0f}}, {2, 0.001f + 2.5f, {"", 0, 0}},
      {2, 0.0005f + 10.0f, {"counts", 1, 1e-6f}}, {4, 0.03f, {"inches", 0.001f, 0.5f}}};
  for (int v = 0; v < kPlottedViews; ++v) {
    const QByteArray magic = Magic(v), body = kFiles[v].mid(magic.size());
    const auto& [rows, elapsed, units] = expected[v];
    // The file itself comes last: the near misses must leave what it loaded.
    for (const QByteArray& file : {QByteArray(magic).remove(4, 3) + body, Header(v), kFiles[v]}) {
      SCOPED_TRACE(file.toStdString());
      const int32_t n = file == Header(v) ? 0 : rows;
      Put("file", file);
      data_->ReviewTime[v] = 9;
      const LoadResult result = data_->LoadData(PathOf("file"));
      EXPECT_TRUE(result.ok && result.kind == v && result.rows == n);
      EXPECT_EQ(std::tuple(result.units, result.countLength, result.positionScale), units);
      // With no rows the review starts at slot -1, as after a live run of none.
      EXPECT_EQ(StateOf(*data_, v), State(n, false, n ? elapsed : 0, n, n ? 0 : -1, 0, true));
      ASSERT_TRUE(kSave[v](*data_, PathOf("again")));
      EXPECT_EQ(Get("again"), n ? kFiles[v] : Header(v));
      ExpectCsvOfFile(v, "again");
    }
    const State loaded = StateOf(*data_, v);
    for (const QByteArray& near : {"W" + magic.mid(1), magic + " ", magic + "\t", " " + magic,
                                   "\xEF\xBB\xBF" + magic, magic.chopped(1)}) {
      Put("near", near + body);
      const LoadResult result = data_->LoadData(PathOf("near"));
      EXPECT_TRUE(!result.ok && result.kind == -1 && result.rows == 0) << near.toStdString();
      EXPECT_EQ(StateOf(*data_, v), loaded);
    }
  }
}

// A file of more rows than a ring holds fills all but the ring's last slot;
// a wrapped ring writes its newest samples, oldest first, whichever slot the
// write index is at.
TEST_F(DataFiles, FullFilesStopAtTheRingsCapacityAndWrappedRingsWriteOldestFirst) {
  for (int v = 0; v < kPlottedViews; ++v) {
    const int32_t size = RingSize(v), headerLines = int32_t(Header(v).count('\n'));
    const qsizetype columns = Header(v).split('\n')[headerLines - 1].simplified().count(' ') + 1;
    QByteArray full = Header(v).replace("\r\n", "\n");  // line feeds alone end lines too
    for (int32_t n = 0; n < size + 9; ++n)
      full += (QByteArray::number(n) + ' ').repeated(columns) + '\n';
    Put("full", full);
    EXPECT_EQ(data_->LoadData(PathOf("full")).rows, size - 1);
    for (const int32_t next : {0, size - 1, 7}) {
      SCOPED_TRACE(testing::Message() << "view " << v << " write index " << next);
      data_->WriteIndex[v] = next;
      data_->BufferWrapped[v] = true;
      ASSERT_TRUE(kSave[v](*data_, PathOf("wrapped")));
      ExpectCsvOfFile(v, "wrapped");
      const QList<QByteArray> lines = Get("wrapped").split('\n');
      ASSERT_EQ(lines.size(), headerLines + size);  // and the empty rest after the last
      for (int32_t i = 0; i < size - 1; ++i) {
        const int32_t slot = (next + 1 + i) % size;
        ASSERT_EQ(lines[headerLines + i].left(lines[headerLines + i].indexOf('\t')).toInt(),
                  slot == size - 1 ? 0 : slot);
      }
    }
  }
}

// A row cut short, a fraction or letters where a number belongs, or a number
// out of range ends the rows, which keep what came before; a file without a
// kind (an empty one reads as a missing one), with multipliers that do not
// convert, with an interval that is negative or no real number, or too large
// to be a data file, is refused (-1) and changes nothing.
TEST_F(DataFiles, DamagedFilesLoadTheRowsBeforeTheDamageOrNothing) {
  const QByteArray man = Header(StatusView) + "1\t2\t3\t4\t0.5000\r\n2\t3\t4\t5\t0.2500\r\n";
  const QByteArray lis = "wren1.1encodersignal\r\nheader\r\n1 2 3 4 0.1\r\n";
  const QByteArray str = "wren1.1signalstrength\r\nPosUnits=mm\r\n";
  // clang-format off
  const std::pair<QByteArray, int32_t> cases[] = {
      {man + "3\t4\t5", 2}, {man + "3.5\t4\t5\t6\t0.1000\r\n7\t8\t9\t1\t0.1\r\n", 2}, {"", -1},
      {man + "3\t4\t5\t6\t0.1x\r\n7\t8\t9\t1\t0.1\r\n", 2}, {lis + "1 2 3 65536 0.1", 1},
      {man + "3\t4\t5\t2147483648\t0.1\r\n", 2}, {lis + "-1 2 3 4 0.1", 1}, {"wren", -1},
      {str + "PositionResMult=abc\r\nPositionInterpMult=1\r\nPos\r\n1 2 3 0.1\r\n", -1},
      {str + "PositionResMult=1\r\nPositionInterpMul\r\nPos\r\n1 2 3 0.1\r\n", -1},
      {str + "Pos\txAD\tyAD\tTime\r\n1\t2\t3\t0.1\r\n", -1}, {lis + "1 2 3 4 INF", -1},
      {Header(StrengthView) + "5 2 3 0.1\r\n6 2 3 -0.5\r\n", -1}, {lis + "1 2 3 4 NAN", -1},
      {Header(StrengthView) + QByteArray(4 << 20, ' '), -1}};
  // clang-format on
  Put("file", kFiles[StrengthView]);
  ASSERT_TRUE(data_->LoadData(PathOf("file")).ok);
  const State loaded = StateOf(*data_, StrengthView);
  for (const auto& [text, rows] : cases) {
    SCOPED_TRACE(text.toStdString());
    Put("file", text);
    const LoadResult result = data_->LoadData(PathOf("file"));
    EXPECT_EQ(result.ok ? result.rows : -1, rows);
    EXPECT_TRUE(rows != 2 || data_->ElapsedTime[StatusView] == 0.75f);
    EXPECT_TRUE(rows >= 0 || StateOf(*data_, StrengthView) == loaded);
    EXPECT_EQ(data_->Strength().position[0], -2147483648);
  }
}

TEST_F(DataFiles, AFileThatCannotBeWrittenGivesFalseAndLeavesNothing) {
  for (const auto& save : kSave)
    EXPECT_FALSE(save(*data_, PathOf("missing/file")) || save(*data_, dir_.path()));
  EXPECT_TRUE(QDir(dir_.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

}  // namespace quillon
