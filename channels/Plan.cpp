#include "channels/Plan.h"

#include <algorithm>
#include <cmath>

#include "channels/Escape.h"
#include "channels/NumberOutput.h"
#include "channels/Settings.h"

namespace channels {
namespace {

// "Kanal 3 „Relais“", a channel in a message.
std::string ChannelPlace(std::int64_t number, std::string_view name) {
  return "Kanal " + std::to_string(number) + " " + Quoted(name);
}

const PlannedSide& SideOf(const Plan& plan, const SideRef& ref) {
  const PlannedChannel& channel = plan.channels[ref.index];
  return ref.tx ? *channel.tx : channel.rx;
}

// "  Kanal 0 „S12“: RX 145.6125 MHz" for one side of a plan.
std::string SidePlace(const Plan& plan, const SideRef& ref) {
  const PlannedChannel& channel = plan.channels[ref.index];
  return "  " + ChannelPlace(channel.number, channel.name) + ": " + (ref.tx ? "TX " : "RX ") +
         Shown(SideOf(plan, ref).requestedMHz) + " MHz";
}

// Whether every side of `channels` lies within 1 Hz of the settings' grid,
// whatever its divider: the VCO, RX + ZF, a whole number of steps.
bool OnGrid(const std::vector<Channel>& channels, const PlanSettings& settings) {
  const double step = settings.rx.Raster();
  const auto onGrid = [step](double mhz, double zf) {
    return std::fabs(std::remainder((mhz + zf) * 1e6, step)) <= 1.0;
  };
  for (const Channel& channel : channels) {
    if (!onGrid(channel.rxMHz, settings.rx.zf)) return false;
    if (channel.txMHz && !settings.rxOnly && !onGrid(*channel.txMHz, settings.txZf)) return false;
  }
  return true;
}

}  // namespace

std::string PlannedSide::Mhz() const {
  return Shown(mhz);
}

std::string PlannedSide::DiffHz() const {
  if (requestedMHz == mhz) return "0";
  return DifferenceHz(Shown(requestedMHz), Shown(mhz));
}

bool PlannedSide::OffRaster() const {
  // A difference as DifferenceHz writes it: more than 1 Hz is a whole part
  // above 1, or 1 with a fraction.
  const std::string diff = DiffHz();
  std::string_view diffHz = diff;
  if (diffHz.starts_with('-')) diffHz.remove_prefix(1);
  const std::string_view whole = diffHz.substr(0, diffHz.find('.'));
  return whole.size() > 1 || whole > "1" || (whole == "1" && whole.size() < diffHz.size());
}

Setup PlanSettings::Tx() const {
  Setup tx = rx;
  tx.zf = txZf;
  return tx;
}

Plan MakePlan(const std::vector<Channel>& channels, const PlanSettings& settings) {
  std::vector<const Channel*> byNumber;
  byNumber.reserve(channels.size());
  for (const Channel& channel : channels) byNumber.push_back(&channel);
  std::sort(byNumber.begin(), byNumber.end(),
            [](const Channel* a, const Channel* b) { return a->number < b->number; });

  const Setup txSetup = settings.Tx();
  Plan plan;
  plan.channels.reserve(channels.size());
  for (const Channel* channel : byNumber) {
    PlannedChannel planned{channel->number, channel->name, {}, {}};
    // Both sides, receive first; the first one beyond the limits ends the plan.
    for (const bool tx : {false, true}) {
      if (tx && (!channel->txMHz || settings.rxOnly)) break;
      const double mhz = tx ? *channel->txMHz : channel->rxMHz;
      const RowResult result = CalcRow(tx ? txSetup : settings.rx, mhz);
      if (!result) {
        plan.limit = LimitHit{channel->number, channel->name, tx, mhz, result};
        return plan;
      }
      const Row& row = result.row;
      const PlannedSide side{row.requestedMHz, row.n, row.vcoKHz, row.rxMHz, row.bytes};
      if (side.OffRaster()) plan.offRaster.push_back({plan.channels.size(), tx});
      if (tx) {
        planned.tx = side;
      } else {
        planned.rx = side;
      }
    }
    plan.channels.push_back(std::move(planned));
  }
  return plan;
}

std::vector<MergedSides> FindMergedSides(const Plan& plan) {
  // Sides that share a divider share the grid's frequency.
  std::vector<MergedSides> merged;
  for (const bool tx : {false, true}) {
    std::vector<std::pair<std::int32_t, std::size_t>> byDivider;  // N and the channel
    for (std::size_t i = 0; i < plan.channels.size(); ++i) {
      const PlannedChannel& channel = plan.channels[i];
      if (tx && !channel.tx) continue;
      byDivider.emplace_back(tx ? channel.tx->n : channel.rx.n, i);
    }
    std::sort(byDivider.begin(), byDivider.end());
    const auto side = [&plan, tx](std::size_t i) -> const PlannedSide& {
      return tx ? *plan.channels[i].tx : plan.channels[i].rx;
    };
    for (std::size_t first = 0, end = 0; first < byDivider.size(); first = end) {
      bool differ = false;
      for (end = first + 1;
           end < byDivider.size() && byDivider[end].first == byDivider[first].first; ++end) {
        differ = differ || side(byDivider[end].second).requestedMHz !=
                               side(byDivider[first].second).requestedMHz;
      }
      if (!differ) continue;
      MergedSides group{tx, {}};
      for (std::size_t i = first; i < end; ++i) group.channels.push_back(byDivider[i].second);
      merged.push_back(std::move(group));
    }
  }
  return merged;
}

RasterFit FittingRaster(const std::vector<Channel>& channels, const PlanSettings& settings) {
  // The core's steps run from the finest to the coarsest: the coarsest first.
  const tuning::TuningState state;
  RasterFit fit;
  for (int index = static_cast<int>(state.RasterTab.size()) - 1; index >= 0; --index) {
    if (index == settings.rx.rasterIndex) continue;
    PlanSettings other = settings;
    other.rx.rasterIndex = index;
    const Plan plan = MakePlan(channels, other);
    if (plan && plan.offRaster.empty()) return {index, {}};
    if (!plan && !fit.beyondLimit && OnGrid(channels, other)) fit.beyondLimit = index;
  }
  return fit;
}

std::optional<int> RasterReaching(const Setup& setup, double mhz) {
  const tuning::TuningState state;
  for (int index = static_cast<int>(state.RasterTab.size()) - 1; index >= 0; --index) {
    if (index == setup.rasterIndex) continue;
    Setup other = setup;
    other.rasterIndex = index;
    if (CalcRow(other, mhz)) return index;
  }
  return std::nullopt;
}

std::string LimitMessage(const LimitHit& hit) {
  std::string message(tuning::LimitMessage(hit.result.limit));
  message += '\n';
  message += ChannelPlace(hit.number, hit.name);
  message += hit.tx ? ": TX " : ": RX ";
  message += Shown(hit.mhz);
  message += " MHz";
  if (hit.result.error == tuning::TuningError::DividerTooLarge ||
      hit.result.error == tuning::TuningError::DividerNegative) {
    message += " (N " + std::to_string(hit.result.n) + ")";
  }
  return message + "\n";
}

void PutOffRasterLines(const Plan& plan, const PlanSettings& settings, Sink& out) {
  for (const SideRef& ref : plan.offRaster) {
    const Setup setup = ref.tx ? settings.Tx() : settings.rx;
    const PlannedSide& side = SideOf(plan, ref);
    const std::int32_t below = side.mhz > side.requestedMHz ? side.n - 1 : side.n;
    out.Put(SidePlace(plan, ref));
    out.Put(", nächste Kanäle ");
    out.Put(Shown(ChannelRxMHz(setup.Raster(), below, setup.zf)));
    out.Put(" und ");
    out.Put(Shown(ChannelRxMHz(setup.Raster(), below + 1, setup.zf)));
    out.Put(" MHz\n");
  }
}

void PutMergedLines(const Plan& plan, const std::vector<MergedSides>& merged, Sink& out) {
  for (const MergedSides& group : merged) {
    const SideRef first{group.channels.front(), group.tx};
    out.Put(group.tx ? "  TX " : "  RX ");
    out.Put(SideOf(plan, first).Mhz());
    out.Put(" MHz: ");
    for (std::size_t i = 0; i < group.channels.size(); ++i) {
      const PlannedChannel& channel = plan.channels[group.channels[i]];
      if (i > 0) out.Put(", ");
      out.Put(ChannelPlace(channel.number, channel.name));
      out.Put(" (");
      out.Put(Shown(SideOf(plan, {group.channels[i], group.tx}).requestedMHz));
      out.Put(" MHz)");
    }
    out.Put('\n');
  }
}

void PutRoundedLines(const Plan& plan, Sink& out) {
  for (const SideRef& ref : plan.offRaster) {
    out.Put(SidePlace(plan, ref));
    out.Put(" -> ");
    out.Put(SideOf(plan, ref).Mhz());
    out.Put(" MHz\n");
  }
}

std::string RasterFitHint(const RasterFit& fit, const RasterControl& control) {
  if (fit.index) {
    return "Hinweis: alle Kanäle passen zu " + control.name + " " +
           std::to_string(RasterKHz(*fit.index)) + ".";
  }
  if (fit.beyondLimit) {
    return "Nur mit " + control.name + " " + std::to_string(RasterKHz(*fit.beyondLimit)) +
           " liegen alle Kanäle im Raster, dort ist aber ein Teilerverhältnis zu gross (max "
           "131071).";
  }
  return "Kein Raster (" + RasterChoices() + " kHz) passt zu allen Kanälen.";
}

std::string RasterLimitHint(std::optional<int> rasterIndex, const RasterControl& control) {
  const std::string with =
      rasterIndex ? "Hinweis: mit " + control.name + " " + std::to_string(RasterKHz(*rasterIndex))
                  : "Mit keinem " + control.none;
  return with + " liegt das Teilerverhältnis dieses Kanals zwischen 0 und 131071.\n";
}

}  // namespace channels
