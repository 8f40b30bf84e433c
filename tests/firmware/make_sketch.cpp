// Writes the Arduino sketch of a channel list with the plan's default
// settings, through the channels library:
//   make_sketch LIST.csv OUT.ino [ADDRESS-BYTE] [NAME-CHARSET]
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "channels/ArduinoSketch.h"
#include "channels/ChannelList.h"
#include "channels/FirmwareHeader.h"
#include "channels/Plan.h"
#include "channels/Settings.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  std::ostringstream text;
  text << std::ifstream(argv[1], std::ios::binary).rdbuf();
  const channels::ChannelList list = channels::ReadChannelList(text.str());
  const channels::PlanSettings settings;
  const channels::Plan plan = channels::MakePlan(list.channels, settings);
  if (!list || !plan || !plan.offRaster.empty()) return 3;
  channels::StringSink inputs;
  channels::PutInputsLine(inputs, settings.rx, settings.txZf);
  channels::FirmwareHeaderSettings header;
  header.prefix = "fw";
  header.inputs = inputs.Text();
  header.zfHz = 10700000;
  if (argc > 3) header.addressByte = static_cast<std::uint8_t>(std::stoul(argv[3], nullptr, 0));
  if (argc > 4) header.charset = channels::NameCharsetNamed(argv[4]).charset;
  channels::StringSink out;
  channels::WriteArduinoSketch(plan.channels, header, out);
  std::ofstream(argv[2], std::ios::binary) << out.Text();
  return 0;
}
