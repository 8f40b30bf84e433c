// A simulated ATmega328P at 16 MHz running a sketch's .elf, with a model of
// the TSA6057 on its TWI bus, keys on its port D and its serial line
// captured. A scenario on standard input drives it, one command a line:
//   run MS          let MS milliseconds of simulated time pass
//   press PIN MS    hold D<PIN> low for MS ms, then release it
//   low PIN, high PIN   drive D<PIN>
//   chip on|off     the model acknowledges its address, or stays silent
//   reset           a reset; the EEPROM keeps its bytes
//   eeprom save|load FILE   the EEPROM's 1024 bytes into a file, or from one
// Reported on standard output, as they happen:
//   write AA BB ...  a complete write to the chip: every byte after the address
//   serial TEXT      a line from the serial port
//   cycles N         with "cycles" as a command: the CPU cycles so far
//   tsa6057_sim SKETCH.elf [ADDRESS-BYTE] < scenario
#include <avr_eeprom.h>
#include <avr_ioport.h>
#include <avr_twi.h>
#include <avr_uart.h>
#include <sim_avr.h>
#include <sim_elf.h>
#include <sim_irq.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::uint64_t kCyclesPerMs = 16000;

struct Chip {
  std::uint8_t address = 0xC4;  // 8-bit form, write
  bool answers = true;
  bool selected = false;
  std::vector<std::uint8_t> bytes;  // of the write under way
  avr_irq_t* irq = nullptr;         // [0] to the AVR, [1] from it
};

void Report(const std::vector<std::uint8_t>& bytes) {
  std::printf("write");
  for (const std::uint8_t byte : bytes) std::printf(" %02X", byte);
  std::printf("\n");
}

// The master's bus conditions: START with the address, each byte written,
// STOP. The chip takes the subaddress and then auto-increments, so the
// bytes are kept in the order they come.
void OnTwi(avr_irq_t*, std::uint32_t value, void* param) {
  Chip& chip = *static_cast<Chip*>(param);
  avr_twi_msg_irq_t message;
  message.u.v = value;
  if (message.u.twi.msg & TWI_COND_STOP) {
    if (chip.selected && !chip.bytes.empty()) Report(chip.bytes);
    chip.selected = false;
    chip.bytes.clear();
  }
  if (message.u.twi.msg & TWI_COND_START) {
    chip.bytes.clear();
    chip.selected = chip.answers && message.u.twi.addr == chip.address;
    if (chip.selected) avr_raise_irq(chip.irq, avr_twi_irq_msg(TWI_COND_ACK, chip.address, 1));
    return;
  }
  if (chip.selected && (message.u.twi.msg & TWI_COND_WRITE)) {
    chip.bytes.push_back(message.u.twi.data);
    avr_raise_irq(chip.irq, avr_twi_irq_msg(TWI_COND_ACK, chip.address, 1));
  }
}

std::string line;

void OnSerial(avr_irq_t*, std::uint32_t value, void*) {
  const char c = static_cast<char>(value);
  if (c == '\n') {
    std::printf("serial %s\n", line.c_str());
    line.clear();
  } else if (c != '\r') {
    line.push_back(c);
  }
}

void RunFor(avr_t* avr, std::uint64_t ms) {
  const std::uint64_t end = avr->cycle + ms * kCyclesPerMs;
  while (avr->cycle < end) {
    const int state = avr_run(avr);
    if (state == cpu_Done || state == cpu_Crashed) {
      std::printf("stopped\n");
      std::exit(1);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  elf_firmware_t firmware = {};
  if (elf_read_firmware(argv[1], &firmware) != 0) return 2;
  avr_t* avr = avr_make_mcu_by_name("atmega328p");
  if (!avr) return 2;
  avr_init(avr);
  avr_load_firmware(avr, &firmware);
  avr->frequency = 16000000;
  avr->log = LOG_NONE;

  Chip chip;
  if (argc > 2) chip.address = static_cast<std::uint8_t>(std::strtoul(argv[2], nullptr, 0));
  static const char* names[] = {"tsa6057.in", "tsa6057.out"};
  chip.irq = avr_alloc_irq(&avr->irq_pool, 0, 2, names);
  avr_connect_irq(chip.irq, avr_io_getirq(avr, AVR_IOCTL_TWI_GETIRQ(0), TWI_IRQ_INPUT));
  avr_connect_irq(avr_io_getirq(avr, AVR_IOCTL_TWI_GETIRQ(0), TWI_IRQ_OUTPUT), chip.irq + 1);
  avr_irq_register_notify(chip.irq + 1, OnTwi, &chip);

  std::uint32_t flags = 0;
  avr_ioctl(avr, AVR_IOCTL_UART_GET_FLAGS('0'), &flags);
  flags &= ~static_cast<std::uint32_t>(AVR_UART_FLAG_STDIO);
  avr_ioctl(avr, AVR_IOCTL_UART_SET_FLAGS('0'), &flags);
  avr_irq_register_notify(avr_io_getirq(avr, AVR_IOCTL_UART_GETIRQ('0'), UART_IRQ_OUTPUT), OnSerial,
                          nullptr);

  // Keys read high while released; an undriven input would read low.
  const auto drive = [avr](int pin, std::uint32_t level) {
    avr_raise_irq(avr_io_getirq(avr, AVR_IOCTL_IOPORT_GETIRQ('D'), pin), level);
  };
  const auto release = [&drive] {
    for (int pin = 2; pin <= 4; ++pin) {
      drive(pin, 0);
      drive(pin, 1);
    }
  };
  release();

  std::string command;
  while (std::getline(std::cin, command)) {
    std::istringstream words(command);
    std::string what;
    words >> what;
    int a = 0, b = 0;
    if (what == "run" && words >> a) {
      RunFor(avr, static_cast<std::uint64_t>(a));
    } else if (what == "press" && words >> a >> b) {
      drive(a, 0);
      RunFor(avr, static_cast<std::uint64_t>(b));
      drive(a, 1);
    } else if ((what == "low" || what == "high") && words >> a) {
      drive(a, what == "high" ? 1u : 0u);
    } else if (what == "chip") {
      std::string state;
      words >> state;
      chip.answers = state == "on";
    } else if (what == "reset") {
      avr_reset(avr);
      release();
    } else if (what == "eeprom") {
      std::string how, file;
      words >> how >> file;
      std::vector<std::uint8_t> bytes(1024);
      avr_eeprom_desc_t desc{bytes.data(), 0, static_cast<std::uint32_t>(bytes.size())};
      if (how == "save") {
        avr_ioctl(avr, AVR_IOCTL_EEPROM_GET, &desc);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), 1024);
      } else {
        std::ifstream(file, std::ios::binary).read(reinterpret_cast<char*>(bytes.data()), 1024);
        avr_ioctl(avr, AVR_IOCTL_EEPROM_SET, &desc);
      }
    } else if (what == "cycles") {
      std::printf("cycles %llu\n", static_cast<unsigned long long>(avr->cycle));
    } else if (!what.empty() && what[0] != '#') {
      std::fprintf(stderr, "unknown command: %s\n", command.c_str());
      return 2;
    }
    std::fflush(stdout);
  }
  return 0;
}
