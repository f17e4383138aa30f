// The four data files: their exact bytes, round trips, wrapped and full
// rings, and loads of damaged or foreign files that must change nothing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "com_data.h"
#include "recording_window.h"

namespace quillon {
namespace {

// A kind of data file: its view and magics, a way to give a slot the value of
// its first column, and its writer.
struct Kind {
  int view;
  QByteArray magic, oldMagic;
  std::function<void(ComData&, int32_t slot, int32_t value)> setFirst;
  std::function<bool(const ComData&, const QString&)> save;
  int HeaderLines() const { return view == SignalView ? 2 : 5; }
};
const Kind kKinds[] = {
    {StatusView, "wren1.1setupandstatus", "wrensetupandstatus",
     [](ComData& d, int32_t s, int32_t v) { d.Status().position[s] = v; },
     [](const ComData& d, const QString& f) { return d.SaveStatusData(f, "microns", 0.25, 4); }},
    {SignalView, "wren1.1encodersignal", "wrenencodersignal",
     [](ComData& d, int32_t s, int32_t v) { d.Signal().x[s] = uint16_t(v); },
     [](const ComData& d, const QString& f) { return d.SaveSignalData(f); }},
    {StrengthView, "wren1.1signalstrength", "wrensignalstrength",
     [](ComData& d, int32_t s, int32_t v) { d.Strength().position[s] = v; },
     [](const ComData& d, const QString& f) { return d.SaveStrengthData(f, "counts", 1, 1e-6f); }},
    {PositionView, "wren1.1positionvelocity", "wrenpositionvelocity",
     [](ComData& d, int32_t s, int32_t v) { d.Position().position[s] = v; },
     [](const ComData& d, const QString& f) { return d.SavePositionData(f, "inches", 1e-3f, .5f); }},
};

// The first column of every sample row.
std::vector<int64_t> FirstColumn(const QByteArray& file, int headerLines) {
  const QList<QByteArray> lines = file.split('\n');
  std::vector<int64_t> values;
  for (qsizetype i = headerLines; i + 1 < lines.size(); ++i)
    values.push_back(lines[i].left(lines[i].indexOf('\t')).toLongLong());
  return values;
}

class DataFiles : public ::testing::Test {
 protected:
  std::unique_ptr<ComData> NewData() { return std::make_unique<ComData>(1, window_); }
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
  // Marks a view's state so that a load that must change nothing can be checked.
  State Mark(int v) {
    data_->WriteIndex[v] = 5, data_->BufferWrapped[v] = true, data_->ElapsedTime[v] = 42;
    data_->ReviewCount[v] = 3, data_->ReviewIndex[v] = 2, data_->ReviewTime[v] = 40;
    data_->ClearPending[v] = false;
    return StateOf(*data_, v);
  }

  RecordingWindow window_;
  QTemporaryDir dir_;
  std::unique_ptr<ComData> data_ = NewData();
};

// A file of each kind, with negative values, the widest integers, times
// that turn scientific and positions either side of six characters, and its
// header alone: each loads for review from its first row and is written
// again byte for byte.
TEST_F(DataFiles, EachFormLoadsForReviewAndIsWrittenAgainByteForByte) {
  const QByteArray files[] = {
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
      "123456\t\t9.99999982797E+12\t\t0.01000\r\n-1234\t\t\t0.00000000\t\t0.01000\r\n"
      "99999\t\t\tINF\t\t0.00000\r\n"};
  const int32_t rows[] = {3, 2, 2, 5};
  const float elapsed[] = {0.1f + 0.0125f + 123460.0f, 0.001f + 2.5f, 0.0005f + 10.0f,
                           0.01f + 0.01f + 0.01f + 0.01f};
  const std::tuple<QString, float, float> units[] = {
      {"microns", 0.25f, 4.0f}, {"", 0, 0}, {"counts", 1, 1e-6f}, {"inches", 0.001f, 0.5f}};
  for (const Kind& kind : kKinds) {
    const int v = kind.view;
    const QByteArray header = files[v].left(files[v].indexOf("\r\n", files[v].indexOf("Time")) + 2);
    for (const QByteArray& file : {files[v], header}) {
      SCOPED_TRACE(file.toStdString());
      const int32_t n = file == header ? 0 : rows[v];
      Put("file", file);
      const std::unique_ptr<ComData> loaded = NewData();
      loaded->ReviewTime[v] = 9;
      const LoadResult result = loaded->LoadData(PathOf("file"));
      EXPECT_TRUE(result.ok && result.kind == v && result.rows == n);
      EXPECT_EQ(std::tuple(result.units, result.countLength, result.positionScale), units[v]);
      // With no rows the review starts at slot -1, as after a live run of none.
      EXPECT_EQ(StateOf(*loaded, v), State(n, false, n ? elapsed[v] : 0, n, n ? 0 : -1, 0, true));
      for (int other = 0; other < kPlottedViews; ++other)
        EXPECT_TRUE(other == v || StateOf(*loaded, other) == StateOf(*NewData(), other));
      ASSERT_TRUE(kind.save(*loaded, PathOf("again")));
      EXPECT_EQ(Get("again"), file);
    }
  }
}

TEST_F(DataFiles, WrappedRingsWriteTheirNewestSamplesOldestFirstAndFullFilesLoadWhole) {
  for (const Kind& kind : kKinds) {
    const int32_t size = RingSize(kind.view);
    for (int32_t s = 0; s < size; ++s) kind.setFirst(*data_, s, s);
    // The write index at the oldest slot, the ring's last slot and between.
    for (const int32_t next : {0, size - 1, 7}) {
      SCOPED_TRACE(testing::Message() << kind.magic.toStdString() << " write index " << next);
      data_->WriteIndex[kind.view] = next;
      data_->BufferWrapped[kind.view] = true;
      ASSERT_TRUE(kind.save(*data_, PathOf("wrapped")));
      const std::vector<int64_t> rows = FirstColumn(Get("wrapped"), kind.HeaderLines());
      ASSERT_EQ(rows.size(), size_t(size - 1));
      for (int32_t i = 0; i < size - 1; ++i) ASSERT_EQ(rows[i], (next + 1 + i) % size);
    }
    // Ten rows more than a ring holds: the load stops at its capacity and
    // never fills the ring's last slot.
    const QByteArray full = Get("wrapped");
    Put("longer", full + full.mid(full.lastIndexOf("\r\n", full.size() - 3) + 2).repeated(10));
    const std::unique_ptr<ComData> loaded = NewData();
    kind.setFirst(*loaded, size - 1, 4242);
    EXPECT_EQ(loaded->LoadData(PathOf("longer")).rows, size - 1);
    ASSERT_TRUE(kind.save(*loaded, PathOf("again")));
    EXPECT_EQ(Get("again"), full);
    loaded->WriteIndex[kind.view] = 0;
    loaded->BufferWrapped[kind.view] = true;  // the newest sample is now the last slot
    ASSERT_TRUE(kind.save(*loaded, PathOf("last")));
    EXPECT_EQ(FirstColumn(Get("last"), kind.HeaderLines()).back(), 4242);
  }
}

// Old magics read as new ones; near misses, missing files and multipliers
// that do not convert are refused and change nothing.
TEST_F(DataFiles, OldMagicsAreAcceptedAndNearMissesChangeNothing) {
  for (const Kind& kind : kKinds) {
    kind.setFirst(*data_, 0, 77);
    data_->WriteIndex[kind.view] = 1;
    ASSERT_TRUE(kind.save(*data_, PathOf("new")));
    const QByteArray body = Get("new").mid(kind.magic.size());
    QByteArray capital = kind.magic;
    capital[0] = 'W';
    for (const QByteArray& magic :
         {kind.oldMagic, capital, kind.magic + " ", kind.magic + "\t", " " + kind.magic,
          "\xEF\xBB\xBF" + kind.magic, kind.magic.left(kind.magic.size() - 1)}) {
      SCOPED_TRACE(magic.toStdString());
      const State marked = Mark(kind.view);
      Put("near", magic + body);
      const LoadResult result = data_->LoadData(PathOf("near"));
      if (magic == kind.oldMagic) {
        EXPECT_TRUE(result.ok && result.kind == kind.view && result.rows == 1);
        continue;
      }
      EXPECT_TRUE(!result.ok && result.kind == -1 && result.rows == 0);
      EXPECT_EQ(StateOf(*data_, kind.view), marked);
    }
  }
  const State marked = Mark(StrengthView);
  Put("empty", "");
  for (const QByteArray& units :
       {QByteArray("PosUnits=mm\r\nPositionResMult=abc\r\nPositionInterpMult=1\r\n"),
        QByteArray("PosUnits=mm\r\nPositionResMult=1\r\nPositionInterpMul\r\n"),
        QByteArray("PosUnits=mm\r\n")}) {
    Put("a.str", "wren1.1signalstrength\r\n" + units + "Pos\txAD\tyAD\tTime\r\n1\t2\t3\t0.1\r\n");
    EXPECT_FALSE(data_->LoadData(PathOf("a.str")).ok) << units.toStdString();
    EXPECT_FALSE(data_->LoadData(PathOf("missing")).ok || data_->LoadData(PathOf("empty")).ok);
    EXPECT_EQ(StateOf(*data_, StrengthView), marked);
  }
}

TEST_F(DataFiles, APartialOrMalformedRowEndsTheRows) {
  const QByteArray rows =
      "wren1.1setupandstatus\r\nPosUnits=counts\r\nPositionResMult=1\r\n"
      "PositionInterpMult=1\r\nPos\txAD\tyAD\tStatus\tTime\r\n"
      "1\t2\t3\t4\t0.5000\r\n2\t3\t4\t5\t0.2500\r\n";
  for (const char* rest : {"3\t4\t5", "3.5\t4\t5\t6\t0.1000\r\n7\t8\t9\t1\t0.1\r\n",
                           "3\t4\t5\t6\t0.1x\r\n7\t8\t9\t1\t0.1\r\n", "3\t4\t5\t2147483648\t0.1\r\n"}) {
    Put("a.man", rows + rest);
    EXPECT_EQ(data_->LoadData(PathOf("a.man")).rows, 2) << rest;
    EXPECT_TRUE(data_->WriteIndex[StatusView] == 2 && data_->ElapsedTime[StatusView] == 0.75f);
  }
  for (const char* last : {"1 2 3 65536 0.1", "-1 2 3 4 0.1"}) {
    Put("a.lis", QByteArray("wren1.1encodersignal\r\nheader\r\n1 2 3 4 0.1\r\n") + last);
    EXPECT_EQ(data_->LoadData(PathOf("a.lis")).rows, 1) << last;
  }
}

TEST_F(DataFiles, AFileThatCannotBeWrittenGivesFalseAndLeavesNothing) {
  for (const Kind& kind : kKinds) {
    EXPECT_FALSE(kind.save(*data_, PathOf("missing/file")));
    EXPECT_FALSE(kind.save(*data_, dir_.path()));
  }
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
}

}  // namespace
}  // namespace quillon
