// A channel list shared by the suites that read one.
#pragma once

// A CHIRP export as its columns are documented: a byte-order mark, CR LF, a
// quoted name with a comma and quotes, a comment over two lines, a gap at 2,
// every Duplex value, columns in an unusual order and one unknown to us.
inline constexpr const char* kChirp =
    "\xEF\xBB\xBFLocation,Frequency,Name,Duplex,Offset,Mode,Comment,NewColumn\r\n"
    "0,145.600000,\"Relais, \"\"DB0XY\"\"\",-,0.600000,FM,,x\r\n"
    "1,145.500000,Simplex,,0.000000,AM,,\r\n"
    "3,145.525000,Empfang,off,0.600000,NFM,\"nur\r\nhören\",\r\n"
    "5,145.350000,Plus,+,0.600000,FM,,\r\n"  // out of order: plan sorts
    "4,145.300000,Split,split,433.500000,FM,,\r\n";
