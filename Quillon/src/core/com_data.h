// The program's one connection to the electronics on one COM port: it
// identifies them, carries out the device commands of the read/write cycle,
// owns the acquisition flags and the four sample rings, and starts the
// acquisition threads. Flags that a worker thread and the GUI thread both
// touch are atomics; the rings are written by one worker at a time and read
// by the window only between samples.
#pragma once

#include <QPointer>
#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>

#include "rings.h"
#include "window_link.h"

namespace quillon {

class AcquisitionThread;

// Which autoscaled plot a per-plot member belongs to.
enum ScaledPlot : int { StrengthPlot = 0, PositionPlot = 1 };

// Start action codes; the same values as a view's display state.
enum Action : int { ActionStop = 0, ActionLive = 1, ActionReview = 2, ActionView = 3 };

struct LoadResult {
  bool ok = false;
  int kind = -1;  // the view the data belong to, -1 not a data file
  int32_t rows = 0;
  QString units;  // with the two multipliers: only for position-carrying kinds
  float countLength = 0;
  float positionScale = 0;
};

struct DeviceInfo {
  int32_t mspVersion = 0;
  uint16_t modelRegister = 0;
  int32_t powerOnHours = 0;
  int32_t powerOnCycles = 0;
};

class ComData {
 public:
  ComData(int32_t port, WindowLink& window);
  // Waits (bounded) for a thread still using this object to finish.
  ~ComData();
  ComData(const ComData&) = delete;
  ComData& operator=(const ComData&) = delete;

  // ---- connection and device commands ----
  bool Identify(QString& message, int32_t& result);
  bool Resync();
  bool StopStreaming();
  bool ReadSetup();
  bool ReadInfo(DeviceInfo& info);
  bool SetInterpolation(int32_t code);
  bool SetFrequency(int32_t setting);
  bool CenterIndex();
  bool ZeroPosition();
  bool WriteRawRegister(uint32_t word);
  void SoftwareReset();
  void CaptureZeroOffset();
  int32_t Disconnect();

  void RequestStop() { StopRequest = true; }
  void RequestZero() { ZeroRequest = true; }
  void SetPlotSizes(int32_t lissajousPoints, int32_t strengthPoints, float positionSeconds);
  void RequestRescale();
  void MarkPositionAxisChanged() { AxisChanged[PositionPlot] = true; }
  int32_t Port() const { return Port_; }
  // The operating system's error of the last open of the port that failed, else 0.
  int OpenError() const { return openError_; }
  int32_t InterpCode() const { return InterpCode_; }
  uint32_t StatusSetup() const { return StatusSetup_; }
  uint32_t Baud() const { return Baud_; }
  WindowLink& Window() const { return window_; }

  // ---- data files ----
  bool SaveStatusData(const QString& fileName, const QString& units, float countLength,
                      float positionScale) const;
  bool SaveSignalData(const QString& fileName) const;
  bool SaveStrengthData(const QString& fileName, const QString& units, float countLength,
                        float positionScale) const;
  bool SavePositionData(const QString& fileName, const QString& units, float countLength,
                        float positionScale) const;
  LoadResult LoadData(const QString& fileName);

  // ---- acquisition ----
  void StartStatus(int action);
  void StartSignal(int action);
  void StartStrength(int action);
  void StartPosition(int action);
  // The engineering display's survey; refused (StartRefused) while a thread runs.
  void StartReadAll();
  void ResetRing(int view);
  // Whether any acquisition thread of this connection still exists.
  bool ThreadAlive() const;

  static void WaitMs(int32_t ms);

  // Shared acquisition state, per view where indexed by view.
  std::atomic<bool> StopRequest{false};
  std::atomic<bool> ThreadRunning{false};
  std::atomic<bool> StartRefused{false};
  std::atomic<bool> ThreadActive[kPlottedViews]{};
  std::atomic<float> ElapsedTime[kPlottedViews]{};
  std::atomic<int32_t> WriteIndex[kPlottedViews]{};
  std::atomic<bool> BufferWrapped[kPlottedViews]{};
  std::atomic<int32_t> ReviewCount[kPlottedViews]{};
  std::atomic<int32_t> ReviewFill[kPlottedViews]{};
  std::atomic<int32_t> ReviewIndex[kPlottedViews]{};
  std::atomic<float> ReviewTime[kPlottedViews]{};
  std::atomic<bool> ClearPending[kPlottedViews]{};
  std::atomic<bool> ReviewExtended{false};
  std::atomic<bool> ZeroRequest{false};
  std::atomic<int32_t> ZeroOffset{0};
  std::atomic<bool> RescaleRequest[2]{true, true};
  std::atomic<bool> AxisChanged[2]{};
  std::atomic<bool> ManualScale[2]{};
  std::atomic<int32_t> PositionAxisMin[2]{};
  std::atomic<int32_t> PositionAxisMax[2]{};
  std::atomic<float> VelocityAxisMin{-0.0f};
  std::atomic<float> VelocityAxisMax{0.0f};
  std::atomic<int32_t> LissajousPoints{0};
  std::atomic<int32_t> SignalStrengthPoints{0};
  std::atomic<float> PositionPlotSeconds{0};

  StatusRing& Status() { return *statusRing_; }
  SignalRing& Signal() { return *signalRing_; }
  StrengthRing& Strength() { return *strengthRing_; }
  PositionRing& Position() { return *positionRing_; }
  const StatusRing& Status() const { return *statusRing_; }
  const SignalRing& Signal() const { return *signalRing_; }
  const StrengthRing& Strength() const { return *strengthRing_; }
  const PositionRing& Position() const { return *positionRing_; }

 private:
  bool ReadRegister(uint8_t reg, uint16_t& value);
  bool WriteRegister(uint8_t reg, uint16_t value);
  bool ClearAndResyncThenWrite(uint32_t word);
  // Live or replay start of a plotted view, shared by the four start operations.
  template <class Thread>
  void StartView(int view, int action, QPointer<AcquisitionThread>& slot);
  bool ViewStartAllowed(int view);
  float ReviewWindowStart(int view, int32_t& slot) const;
  void ExtendReviewWindow(int view);
  float IntervalAt(int view, int32_t slot) const;
  void Launch(AcquisitionThread* thread, QPointer<AcquisitionThread>& slot);
  bool OpenConfigured();

  const int32_t Port_;
  WindowLink& window_;
  bool PortOpen = false;
  int openError_ = 0;
  uint32_t Baud_ = 9600;
  std::atomic<int32_t> InterpCode_{0};
  std::atomic<uint32_t> StatusSetup_{0};
  int32_t IdentResult = 0;
  uint16_t RegScratch = 0;

  QPointer<AcquisitionThread> mainThread_, lissajousThread_, strengthThread_, positionThread_,
      readAllThread_;

  std::unique_ptr<StatusRing> statusRing_;
  std::unique_ptr<SignalRing> signalRing_;
  std::unique_ptr<StrengthRing> strengthRing_;
  std::unique_ptr<PositionRing> positionRing_;
};

}  // namespace quillon
