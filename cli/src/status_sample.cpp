#include "status_sample.h"

#include "electronics.h"
#include "probelink.h"

namespace probelink_cli {

std::optional<Reading> ReadStatusSample(Session& session) {
  Reading r;
  uint16_t model = 0;
  if (!session.TryRead(reg::kStatus, r.status) || !session.TryRead(reg::kSine, r.sine) ||
      !session.TryRead(reg::kCosine, r.cosine) || !session.TryRead(reg::kModel, model))
    return std::nullopt;
  ClearRxBuffer(session.Com());
  if (!session.SyncLine() || ReadShiftedPositionWren(session.Com(), &r.position) < 0)
    return std::nullopt;
  if (CountsFourFold(ModelCode(model))) r.position /= 4;
  return r;
}

Document Describe(const Reading& sample, const std::optional<CountScale>& scale) {
  static const Field kStatusFields[] = {{Quantity::Position},    {Quantity::Index},
                                        {Quantity::RedAlarm},    {Quantity::YellowAlarm},
                                        {Quantity::SignalLevel}, {Quantity::SignalLevelBand},
                                        {Quantity::Status}};
  Document document = Document::object();
  for (const Field& field : kStatusFields) AddField(document, field, sample, scale);
  return document;
}

}  // namespace probelink_cli
