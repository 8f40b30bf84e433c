#include "window/Form1.h"

#include <string>

#include "tuning/DataByteEncoder.h"
#include "tuning/NumberText.h"
#include "window/Form1Design.h"

namespace teilomat {

namespace {

// The raster list, in kHz, in the order of TuningState::RasterTab.
constexpr std::string_view kRasterEntries[] = {" 1,000", "10,000", "25,000"};

}  // namespace

void Form1::Form_Load() {
  const tuning::Separators separators = controls_.LocaleSeparators();
  state_ = tuning::TuningState{};  // the defaults and the table of steps

  for (std::string_view entry : kRasterEntries) controls_.AddRasterEntry(entry);
  controls_.SetRasterIndex(2);  // raises ChRaster_Click like a choice

  // The defaults always give a divider (6255); there is no limit check here.
  tuning::ComputeDivider(state_);
  tuning::MakeDataBytes(state_);
  if (controls_.Ticked(CheckBox::bitcp)) state_.DB[0] |= 1u;

  controls_.SetText(TextBox::tfo, tuning::DoubleToText(state_.fo, separators));
  controls_.SetText(TextBox::tzf, tuning::DoubleToText(state_.zf, separators));
  controls_.SetText(TextBox::tVCO,
                    tuning::DoubleToText(tuning::VcoKHz(state_.Raster, state_.N), separators));
  bitcp_Click();
}

void Form1::Command1_Click() {
  const tuning::Separators separators = controls_.LocaleSeparators();
  const std::optional<double> fo = ReadNumber(TextBox::tfo, design::kCaptionRx, separators);
  if (!fo) return;
  const std::optional<double> zf = ReadNumber(TextBox::tzf, design::kCaptionZf, separators);
  if (!zf) return;

  const tuning::CalcOutcome outcome =
      tuning::Calculate(state_, *fo, *zf, controls_.Ticked(CheckBox::bitcp));
  if (!outcome) {
    controls_.ShowMessage(MessageIcon::Critical, tuning::LimitMessage(outcome.limit));
    return;
  }
  controls_.SetText(TextBox::tVCO, tuning::DoubleToText(outcome.vcoKHz, separators));
  bitcp_Click();
  controls_.SetText(TextBox::tfo, tuning::DoubleToText(outcome.rxMHz, separators));
}

void Form1::ChRaster_Click() {
  // An index outside the table (an empty list) leaves the step as it is.
  tuning::SelectRaster(state_, controls_.RasterIndex());
}

void Form1::TSA_AMFM_Click() {
  state_.AmFm = controls_.Ticked(CheckBox::TSA_AMFM) ? tuning::kBandAm : tuning::kBandFm;
}

void Form1::bitcp_Click() {
  controls_.SetText(TextBox::tDB0, tuning::ByteToText(state_.DB[0]));
  controls_.SetText(TextBox::tDB1, tuning::ByteToText(state_.DB[1]));
  controls_.SetText(TextBox::tDB2, tuning::ByteToText(state_.DB[2]));
}

void Form1::mnuFile_Click() {
  controls_.Unload();
}

std::optional<double> Form1::ReadNumber(TextBox box, std::string_view caption,
                                        const tuning::Separators& separators) {
  const auto number = tuning::TextToDouble(controls_.Text(box), separators);
  if (number) return number.value;
  std::string text = kNotANumberPrefix;
  text.append(caption).append(".");
  controls_.ShowMessage(MessageIcon::Warning, text);
  controls_.FocusAndSelectAll(box);
  return std::nullopt;
}

}  // namespace teilomat
