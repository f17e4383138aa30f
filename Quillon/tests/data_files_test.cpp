#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "com_data.h"
#include "recording_window.h"
#include "temp_config_home.h"
#include "text_scan.h"

namespace quillon {
namespace {

// What the tests need to know of one kind of data file.
struct Kind {
  const char* name;
  int view;
  int headerLines;
  QByteArray magic;
  QByteArray oldMagic;
  // Puts a sample derived from `n` into `slot`; different n give different rows.
  std::function<void(ComData&, int32_t slot, uint32_t n)> fill;
  std::function<bool(const ComData&, const QString&)> save;
};

float Interval(uint32_t n) { return 0.001f * static_cast<float>(n % 97 + 1); }

const std::vector<Kind>& Kinds() {
  static const std::vector<Kind> kinds{
      {"status", StatusView, 5, "wren1.1setupandstatus", "wrensetupandstatus",
       [](ComData& d, int32_t s, uint32_t n) {
         d.Status().position[s] = static_cast<int32_t>(n);
         d.Status().x[s] = static_cast<int32_t>(n * 3);
         d.Status().y[s] = -static_cast<int32_t>(n);
         d.Status().status[s] = static_cast<int32_t>(n ^ 0x55u);
         d.Status().interval[s] = Interval(n);
       },
       [](const ComData& d, const QString& f) { return d.SaveStatusData(f, "counts", 1, 1); }},
      {"signal", SignalView, 2, "wren1.1encodersignal", "wrenencodersignal",
       [](ComData& d, int32_t s, uint32_t n) {
         d.Signal().x[s] = static_cast<uint16_t>(n);
         d.Signal().y[s] = static_cast<uint16_t>(n * 7);
         d.Signal().magnitude[s] = static_cast<uint16_t>(n >> 1);
         d.Signal().angle[s] = static_cast<uint16_t>(65535 - n);
         d.Signal().interval[s] = Interval(n);
       },
       [](const ComData& d, const QString& f) { return d.SaveSignalData(f); }},
      {"strength", StrengthView, 5, "wren1.1signalstrength", "wrensignalstrength",
       [](ComData& d, int32_t s, uint32_t n) {
         d.Strength().position[s] = static_cast<int32_t>(n);
         d.Strength().x[s] = static_cast<int32_t>(n * 5);
         d.Strength().y[s] = static_cast<int32_t>(n * 11);
         d.Strength().interval[s] = Interval(n);
       },
       [](const ComData& d, const QString& f) { return d.SaveStrengthData(f, "mm", 0.5, 2); }},
      {"position", PositionView, 5, "wren1.1positionvelocity", "wrenpositionvelocity",
       [](ComData& d, int32_t s, uint32_t n) {
         d.Position().position[s] = static_cast<int32_t>(n);
         d.Position().velocity[s] = static_cast<float>(n) * -0.25f;
         d.Position().interval[s] = Interval(n);
       },
       [](const ComData& d, const QString& f) { return d.SavePositionData(f, "mils", 3, 4); }},
  };
  return kinds;
}

// The first column of every sample row.
std::vector<int64_t> FirstColumn(const QByteArray& file, int headerLines) {
  std::vector<int64_t> values;
  LineCursor lines(file);
  QByteArrayView line;
  for (int i = 0; i < headerLines; ++i) lines.Next(line);
  while (lines.Next(line)) {
    const QByteArray row = line.toByteArray();
    values.push_back(row.left(row.indexOf('\t')).toLongLong());
  }
  return values;
}

class DataFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

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
  // Marks every member a load sets, so that a load that must change
  // nothing can be checked.
  static void MarkLoadState(ComData& d, int view) {
    d.WriteIndex[view] = 5;
    d.BufferWrapped[view] = true;
    d.ClearPending[view] = false;
    d.ElapsedTime[view] = 42.0f;
    d.ReviewCount[view] = 3;
    d.ReviewIndex[view] = 2;
    d.ReviewTime[view] = 40.0f;
  }
  static void ExpectLoadStateMarked(const ComData& d, int view) {
    EXPECT_EQ(d.WriteIndex[view], 5);
    EXPECT_TRUE(d.BufferWrapped[view]);
    EXPECT_FALSE(d.ClearPending[view]);
    EXPECT_EQ(d.ElapsedTime[view], 42.0f);
    EXPECT_EQ(d.ReviewCount[view], 3);
    EXPECT_EQ(d.ReviewIndex[view], 2);
    EXPECT_EQ(d.ReviewTime[view], 40.0f);
  }

  testsupport::TempConfigHome configHome_;
  QTemporaryDir dir_;
  RecordingWindow window_;
  std::unique_ptr<ComData> data_ = NewData();
};

TEST_F(DataFilesTest, StatusFileIsByteExact) {
  StatusRing& r = data_->Status();
  const int32_t pos[] = {-5, 123456, 0}, x[] = {100, 65535, 0}, y[] = {200, 0, -1},
                status[] = {3, 32768, 7};
  const float time[] = {0.1f, 0.0125f, 123456.7f};
  for (int s = 0; s < 3; ++s) {
    r.position[s] = pos[s], r.x[s] = x[s], r.y[s] = y[s], r.status[s] = status[s];
    r.interval[s] = time[s];
  }
  data_->WriteIndex[StatusView] = 3;
  ASSERT_TRUE(data_->SaveStatusData(PathOf("a.man"), "microns", 0.25f, 4.0f));
  EXPECT_EQ(Get("a.man"),
            "wren1.1setupandstatus\r\nPosUnits=microns\r\nPositionResMult=0.25\r\n"
            "PositionInterpMult=4\r\nPos\txAD\tyAD\tStatus\tTime\r\n"
            "-5\t100\t200\t3\t0.1000\r\n"
            "123456\t65535\t0\t32768\t0.0125\r\n"
            "0\t0\t-1\t7\t1.2346E+05\r\n");
}

TEST_F(DataFilesTest, SignalFileIsByteExact) {
  SignalRing& r = data_->Signal();
  r.x[0] = 0, r.y[0] = 2048, r.magnitude[0] = 4095, r.angle[0] = 0, r.interval[0] = 0.001f;
  r.x[1] = 65535, r.y[1] = 1, r.magnitude[1] = 0, r.angle[1] = 1234, r.interval[1] = 2.5f;
  data_->WriteIndex[SignalView] = 2;
  ASSERT_TRUE(data_->SaveSignalData(PathOf("a.lis")));
  EXPECT_EQ(Get("a.lis"),
            "wren1.1encodersignal\r\nxAD\tyAD\tMag\tAngle\tTime\r\n"
            "0\t2048\t4095\t0\t0.00100\r\n"
            "65535\t1\t0\t1234\t2.50000\r\n");
}

TEST_F(DataFilesTest, StrengthFileIsByteExact) {
  StrengthRing& r = data_->Strength();
  r.position[0] = std::numeric_limits<int32_t>::min(), r.x[0] = 1, r.y[0] = 3;
  r.interval[0] = 0.0005f;
  r.position[1] = 7, r.x[1] = 2, r.y[1] = 4, r.interval[1] = 10.0f;
  data_->WriteIndex[StrengthView] = 2;
  ASSERT_TRUE(data_->SaveStrengthData(PathOf("a.str"), "counts", 1.0f, 1e-6f));
  EXPECT_EQ(Get("a.str"),
            "wren1.1signalstrength\r\nPosUnits=counts\r\nPositionResMult=1\r\n"
            "PositionInterpMult=1E-6\r\nPos\txAD\tyAD\tTime\r\n"
            "-2147483648\t1\t3\t0.00050\r\n"
            "7\t2\t4\t10.00000\r\n");
}

TEST_F(DataFilesTest, PositionFileIsByteExactWithItsColumnSeparators) {
  PositionRing& r = data_->Position();
  const int32_t pos[] = {12345, -12345, 123456, -1234};
  const float vel[] = {0.5f, -1234.5678f, 1e13f, 0.0f};
  for (int s = 0; s < 4; ++s) {
    r.position[s] = pos[s], r.velocity[s] = vel[s], r.interval[s] = 0.01f;
  }
  data_->WriteIndex[PositionView] = 4;
  ASSERT_TRUE(data_->SavePositionData(PathOf("a.pos"), "inches", 0.001f, 0.5f));
  EXPECT_EQ(Get("a.pos"),
            "wren1.1positionvelocity\r\nPosUnits=inches\r\nPositionResMult=0.001\r\n"
            "PositionInterpMult=0.5\r\nPos\t\t\tVel\t\t\tTime\r\n"
            "12345\t\t\t0.50000000\t\t0.01000\r\n"
            "-12345\t\t-1234.56774902\t\t0.01000\r\n"
            "123456\t\t9.99999982797E+12\t\t0.01000\r\n"
            "-1234\t\t\t0.00000000\t\t0.01000\r\n");
}

TEST_F(DataFilesTest, AnEmptyBufferWritesOnlyTheHeader) {
  for (const Kind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    ASSERT_TRUE(kind.save(*data_, PathOf("empty")));
    const QByteArray file = Get("empty");
    EXPECT_EQ(file.count("\r\n"), kind.headerLines);
    EXPECT_TRUE(file.startsWith(kind.magic + "\r\n"));
    EXPECT_TRUE(FirstColumn(file, kind.headerLines).empty());
  }
  EXPECT_EQ(Get("empty"),
            "wren1.1positionvelocity\r\nPosUnits=mils\r\nPositionResMult=3\r\n"
            "PositionInterpMult=4\r\nPos\t\t\tVel\t\t\tTime\r\n");
}

TEST_F(DataFilesTest, WrappedRingsWriteTheirNewestSamplesOldestFirstWithoutAGap) {
  for (const Kind& kind : Kinds()) {
    const int32_t size = RingSize(kind.view);
    // Slot s holds the sample recorded as number s; the write index sits at
    // the oldest slot, the ring's last slot and in between.
    for (const int32_t next : {0, size - 1, 7}) {
      SCOPED_TRACE(testing::Message() << kind.name << " write index " << next);
      for (int32_t s = 0; s < size; ++s) kind.fill(*data_, s, s);
      data_->WriteIndex[kind.view] = next;
      data_->BufferWrapped[kind.view] = true;
      ASSERT_TRUE(kind.save(*data_, PathOf("wrapped")));
      const std::vector<int64_t> rows = FirstColumn(Get("wrapped"), kind.headerLines);
      ASSERT_EQ(rows.size(), size_t(size - 1));
      for (int32_t i = 0; i < size - 1; ++i) ASSERT_EQ(rows[i], (next + 1 + i) % size);
    }
  }
}

TEST_F(DataFilesTest, ALoadFillsTheRingAndOpensAReviewOfAllRows) {
  Put("a.man",
      "wrensetupandstatus\r\nPosUnits=nanometers\r\nPositionResMult=0.5\r\n"
      "PositionInterpMult=2\r\nPos\txAD\tyAD\tStatus\tTime\r\n"
      "-5\t100\t200\t3\t0.1000\r\n7\t1\t2\t4\t0.2000\r\n8\t9\t10\t11\t0.3000\r\n");
  MarkLoadState(*data_, StatusView);
  MarkLoadState(*data_, PositionView);

  const LoadResult result = data_->LoadData(PathOf("a.man"));
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.kind, StatusView);
  EXPECT_EQ(result.rows, 3);
  EXPECT_EQ(result.units, "nanometers");
  EXPECT_EQ(result.countLength, 0.5f);
  EXPECT_EQ(result.positionScale, 2.0f);

  const StatusRing& r = data_->Status();
  EXPECT_EQ(r.position[0], -5);
  EXPECT_EQ(r.y[0], 200);
  EXPECT_EQ(r.status[2], 11);
  EXPECT_EQ(r.interval[1], 0.2f);
  EXPECT_EQ(data_->WriteIndex[StatusView], 3);
  EXPECT_FALSE(data_->BufferWrapped[StatusView]);
  EXPECT_TRUE(data_->ClearPending[StatusView]);
  EXPECT_EQ(data_->ElapsedTime[StatusView], 0.1f + 0.2f + 0.3f);
  EXPECT_EQ(data_->ReviewIndex[StatusView], 0);
  EXPECT_EQ(data_->ReviewCount[StatusView], 3);
  EXPECT_EQ(data_->ReviewTime[StatusView], 0.0f);
  ExpectLoadStateMarked(*data_, PositionView);
}

TEST_F(DataFilesTest, AFileOfHeadersAloneLoadsWithNothingToReplay) {
  Put("a.lis", "wren1.1encodersignal\nxAD\tyAD\tMag\tAngle\tTime\n");
  MarkLoadState(*data_, SignalView);
  const LoadResult result = data_->LoadData(PathOf("a.lis"));
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.kind, SignalView);
  EXPECT_EQ(result.rows, 0);
  EXPECT_EQ(data_->WriteIndex[SignalView], 0);
  EXPECT_EQ(data_->ReviewCount[SignalView], 0);
  EXPECT_EQ(data_->ReviewIndex[SignalView], -1);  // as a live run with no sample leaves it
  EXPECT_EQ(data_->ElapsedTime[SignalView], 0.0f);
}

TEST_F(DataFilesTest, SaveLoadSaveReproducesTheFileByteForByte) {
  uint32_t state = 12345;
  const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
  for (const Kind& kind : Kinds()) {
    for (const bool wrapped : {false, true}) {
      SCOPED_TRACE(testing::Message() << kind.name << (wrapped ? " wrapped" : " unwrapped"));
      const std::unique_ptr<ComData> source = NewData();
      const int32_t size = RingSize(kind.view);
      for (int32_t s = 0; s < size; ++s) kind.fill(*source, s, next());
      // Awkward values where the files have room for them.
      source->Status().position[0] = std::numeric_limits<int32_t>::min();
      source->Status().interval[1] = 654321.25f;
      source->Position().velocity[0] = std::bit_cast<float>(next() & 0xBFFFFFFFu);
      source->Position().velocity[1] = std::numeric_limits<float>::infinity();
      source->Position().velocity[2] = 3.0e-9f;
      source->Position().interval[3] = 1e-7f;
      source->WriteIndex[kind.view] = wrapped ? 1234 : 1000;
      source->BufferWrapped[kind.view] = wrapped;
      ASSERT_TRUE(kind.save(*source, PathOf("first")));

      const LoadResult loaded = data_->LoadData(PathOf("first"));
      ASSERT_TRUE(loaded.ok);
      EXPECT_EQ(loaded.kind, kind.view);
      EXPECT_EQ(loaded.rows, wrapped ? size - 1 : 1000);
      ASSERT_TRUE(kind.save(*data_, PathOf("second")));
      EXPECT_EQ(Get("second"), Get("first"));
    }
  }
}

TEST_F(DataFilesTest, OldMagicsAreAcceptedAndNearMissesRejected) {
  for (const Kind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    kind.fill(*data_, 0, 77);
    data_->WriteIndex[kind.view] = 1;
    ASSERT_TRUE(kind.save(*data_, PathOf("new")));
    const QByteArray body = Get("new").mid(kind.magic.size());

    Put("old", kind.oldMagic + body);
    const LoadResult old = data_->LoadData(PathOf("old"));
    EXPECT_TRUE(old.ok);
    EXPECT_EQ(old.kind, kind.view);
    EXPECT_EQ(old.rows, 1);

    QByteArray capital = kind.magic;
    capital[0] = 'W';
    for (const QByteArray& magic :
         {capital, kind.magic + " ", kind.magic + "\t", " " + kind.magic,
          "\xEF\xBB\xBF" + kind.magic, kind.magic.left(kind.magic.size() - 1)}) {
      SCOPED_TRACE(magic.toStdString());
      MarkLoadState(*data_, kind.view);
      Put("near", magic + body);
      const LoadResult near = data_->LoadData(PathOf("near"));
      EXPECT_FALSE(near.ok);
      EXPECT_EQ(near.kind, -1);
      EXPECT_EQ(near.rows, 0);
      ExpectLoadStateMarked(*data_, kind.view);
    }
  }
  EXPECT_EQ(data_->LoadData(PathOf("missing")).kind, -1);
  Put("empty", "");
  EXPECT_FALSE(data_->LoadData(PathOf("empty")).ok);
}

TEST_F(DataFilesTest, AMultiplierThatDoesNotConvertRefusesTheFile) {
  for (const QByteArray& lines :
       {QByteArray("PosUnits=mm\r\nPositionResMult=abc\r\nPositionInterpMult=1\r\n"),
        QByteArray("PosUnits=mm\r\nPositionResMult=1\r\nPositionInterpMul\r\n"),
        QByteArray("PosUnits=mm\r\n")}) {
    SCOPED_TRACE(lines.toStdString());
    MarkLoadState(*data_, StrengthView);
    Put("a.str", "wren1.1signalstrength\r\n" + lines + "Pos\txAD\tyAD\tTime\r\n1\t2\t3\t0.1\r\n");
    EXPECT_FALSE(data_->LoadData(PathOf("a.str")).ok);
    ExpectLoadStateMarked(*data_, StrengthView);
  }
}

TEST_F(DataFilesTest, ALoadStopsAtTheRingCapacity) {
  for (const Kind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    const int32_t size = RingSize(kind.view);
    const std::unique_ptr<ComData> source = NewData();
    for (int32_t s = 0; s < size - 1; ++s) kind.fill(*source, s, s);
    source->WriteIndex[kind.view] = size - 1;
    ASSERT_TRUE(kind.save(*source, PathOf("full")));
    // Ten more rows than a ring can hold.
    QByteArray longer = Get("full");
    const QByteArray lastRow = longer.mid(longer.lastIndexOf("\r\n", longer.size() - 3) + 2);
    for (int i = 0; i < 10; ++i) longer += lastRow;
    Put("longer", longer);
    kind.fill(*data_, size - 1, 4242);  // the slot a ring never fills from a file

    const LoadResult result = data_->LoadData(PathOf("longer"));
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.rows, size - 1);
    EXPECT_EQ(data_->WriteIndex[kind.view], size - 1);
    ASSERT_TRUE(kind.save(*data_, PathOf("again")));
    EXPECT_EQ(Get("again"), Get("full"));
    data_->WriteIndex[kind.view] = 0;
    data_->BufferWrapped[kind.view] = true;  // the newest sample is now the last slot
    ASSERT_TRUE(kind.save(*data_, PathOf("last")));
    EXPECT_EQ(FirstColumn(Get("last"), kind.headerLines).back(), 4242);
  }
}

TEST_F(DataFilesTest, APartialOrMalformedRowEndsTheRows) {
  const QByteArray header =
      "wren1.1setupandstatus\r\nPosUnits=counts\r\nPositionResMult=1\r\n"
      "PositionInterpMult=1\r\nPos\txAD\tyAD\tStatus\tTime\r\n";
  const QByteArray good = "1\t2\t3\t4\t0.5000\r\n2\t3\t4\t5\t0.2500\r\n";
  const std::pair<const char*, QByteArray> cases[] = {
      {"cut short by the end of the file", good + "3\t4\t5"},
      {"fraction in an integer column", good + "3.5\t4\t5\t6\t0.1000\r\n7\t8\t9\t1\t0.1\r\n"},
      {"letters in the time", good + "3\t4\t5\t6\t0.1x\r\n7\t8\t9\t1\t0.1\r\n"},
      {"integer out of range", good + "3\t4\t5\t2147483648\t0.1\r\n"},
  };
  for (const auto& [name, text] : cases) {
    SCOPED_TRACE(name);
    Put("a.man", header + text);
    const LoadResult result = data_->LoadData(PathOf("a.man"));
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.rows, 2);
    EXPECT_EQ(data_->WriteIndex[StatusView], 2);
    EXPECT_EQ(data_->ElapsedTime[StatusView], 0.75f);
  }
  Put("a.lis", "wren1.1encodersignal\r\nheader\r\n1 2 3 4 0.1\r\n1 2 3 65536 0.1\r\n");
  EXPECT_EQ(data_->LoadData(PathOf("a.lis")).rows, 1);
  Put("a.lis", "wren1.1encodersignal\r\nheader\r\n1 2 3 4 0.1\r\n-1 2 3 4 0.1\r\n");
  EXPECT_EQ(data_->LoadData(PathOf("a.lis")).rows, 1);
}

TEST_F(DataFilesTest, AFileThatCannotBeWrittenGivesFalse) {
  for (const Kind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    EXPECT_FALSE(kind.save(*data_, PathOf("missing/file")));
    EXPECT_FALSE(kind.save(*data_, dir_.path()));
  }
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
}

}  // namespace
}  // namespace quillon
