/* The firmware header's functions on an ATmega328P, timed in CPU cycles with
 * Timer1 (no prescaler): fw_plan_find, fw_plan_at and fw_plan_message for
 * every channel of the table, each call on its own; the mean and the longest
 * call, less the timer's own cost, written to the serial port, 1 Mbaud. */
#define FW_PLAN_IMPLEMENTATION
#include "fw_plan.h"

#include <avr/io.h>
#include <stdio.h>

static int put(char c, FILE *stream) {
    (void)stream;
    while (!(UCSR0A & (1 << UDRE0))) {
    }
    UDR0 = (uint8_t)c;
    return 0;
}

static FILE out = FDEV_SETUP_STREAM(put, NULL, _FDEV_SETUP_WRITE);

struct cost {
    uint32_t total;
    uint16_t longest;
};

static void add(struct cost *cost, uint16_t cycles) {
    cost->total += cycles;
    if (cycles > cost->longest) {
        cost->longest = cycles;
    }
}

static void report(const char *what, const struct cost *cost) {
    fprintf(&out, "%s %lu %u\n", what, (unsigned long)(cost->total / FW_PLAN_COUNT),
            cost->longest);
}

int main(void) {
    static struct fw_plan_channel channel;
    static uint8_t message[5];
    struct cost find = {0, 0}, at = {0, 0}, make = {0, 0};
    uint16_t start, idle;
    uint32_t i;
    UBRR0 = 0; /* 1 Mbaud at 16 MHz */
    UCSR0B = 1 << TXEN0;
    TCCR1B = 1 << CS10;
    start = TCNT1;
    idle = (uint16_t)(TCNT1 - start);
    for (i = 0; i < FW_PLAN_COUNT; ++i) {
        start = TCNT1;
        fw_plan_at((uint16_t)i, &channel);
        add(&at, (uint16_t)(TCNT1 - start - idle));
        start = TCNT1;
        fw_plan_find(channel.number, &channel);
        add(&find, (uint16_t)(TCNT1 - start - idle));
        start = TCNT1;
        fw_plan_message(&channel, 1, message);
        add(&make, (uint16_t)(TCNT1 - start - idle));
    }
    fprintf(&out, "calls %lu\n", (unsigned long)FW_PLAN_COUNT);
    report("fw_plan_find", &find);
    report("fw_plan_at", &at);
    report("fw_plan_message", &make);
    for (;;) {
    }
}
