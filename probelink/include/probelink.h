/*
 * probelink: the serial command library of the Veritrak II electronics.
 *
 * Every export except DLLVersion takes the COM port number (1 to 16) first and
 * returns a signed 32-bit result; failures are result codes, never messages:
 *    >= 0  success: the decoded value, or 0 for calls that return no value
 *      -1  reply missing, short, not starting with 0x90, bad checksum, or a
 *          refused acknowledgement (also: an argument the call cannot serve)
 *      -2  the request could not be written to the port
 *      -3  only for the configuration and reset calls, as documented there
 * DoSynchronize, SyncAndRead and SyncAndWrite return 1 (done) or 0 (failed).
 *
 * On Windows COMn is the port of that name: COM1..COM9 are opened by their
 * plain names, COM10..COM16 as \\.\COM10..\\.\COM16. Elsewhere COMn names
 * a device through the link $XDG_CONFIG_HOME/probelink/ports/COMn (default
 * ~/.config/probelink/ports/COMn) when it exists, otherwise:
 *    COM1..COM4   /dev/ttyS0..3
 *    COM5..COM12  /dev/ttyUSB0..7
 *    COM13..COM16 /dev/ttyACM0..3
 *
 * The library holds no locks around the line: make at most one call per port
 * at a time. Calls on different ports do not share state.
 */
#ifndef PROBELINK_H
#define PROBELINK_H

#include <stdint.h>

/* On Windows the serial records and their constants are the system's own,
 * so that a caller can hand the library what it got from the serial API; the
 * exports use the system's calling convention. */
#if defined(_WIN32)
#include <windows.h>
#if defined(PROBELINK_BUILDING)
#define PROBELINK_API __declspec(dllexport)
#else
#define PROBELINK_API __declspec(dllimport)
#endif
#define PROBELINK_CALL __stdcall
#elif defined(__GNUC__)
#define PROBELINK_API __attribute__((visibility("default")))
#define PROBELINK_CALL
#else
#define PROBELINK_API
#define PROBELINK_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- The serial records of the complete-configuration calls ------------- */

#if !defined(_WIN32)

typedef struct DCB {
  uint32_t DCBlength;
  uint32_t BaudRate;
  uint32_t fBinary : 1;
  uint32_t fParity : 1;
  uint32_t fOutxCtsFlow : 1;
  uint32_t fOutxDsrFlow : 1;
  uint32_t fDtrControl : 2;
  uint32_t fDsrSensitivity : 1;
  uint32_t fTXContinueOnXoff : 1;
  uint32_t fOutX : 1;
  uint32_t fInX : 1;
  uint32_t fErrorChar : 1;
  uint32_t fNull : 1;
  uint32_t fRtsControl : 2;
  uint32_t fAbortOnError : 1;
  uint32_t fDummy2 : 17;
  uint16_t wReserved;
  uint16_t XonLim;
  uint16_t XoffLim;
  uint8_t ByteSize;
  uint8_t Parity;
  uint8_t StopBits;
  char XonChar;
  char XoffChar;
  char ErrorChar;
  char EofChar;
  char EvtChar;
  uint16_t wReserved1;
} DCB;

typedef struct COMMTIMEOUTS {
  uint32_t ReadIntervalTimeout;
  uint32_t ReadTotalTimeoutMultiplier;
  uint32_t ReadTotalTimeoutConstant;
  uint32_t WriteTotalTimeoutMultiplier;
  uint32_t WriteTotalTimeoutConstant;
} COMMTIMEOUTS;

typedef struct COMMPROP {
  uint16_t wPacketLength;
  uint16_t wPacketVersion;
  uint32_t dwServiceMask;
  uint32_t dwReserved1;
  uint32_t dwMaxTxQueue;
  uint32_t dwMaxRxQueue;
  uint32_t dwMaxBaud;
  uint32_t dwProvSubType;
  uint32_t dwProvCapabilities;
  uint32_t dwSettableParams;
  uint32_t dwSettableBaud;
  uint16_t wSettableData;
  uint16_t wSettableStopParity;
  uint32_t dwCurrentTxQueue;
  uint32_t dwCurrentRxQueue;
  uint32_t dwProvSpec1;
  uint32_t dwProvSpec2;
  uint16_t wcProvChar[1];
} COMMPROP;

enum {
  NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4,
  ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2,
  DTR_CONTROL_DISABLE = 0, DTR_CONTROL_ENABLE = 1, DTR_CONTROL_HANDSHAKE = 2,
  RTS_CONTROL_DISABLE = 0, RTS_CONTROL_ENABLE = 1, RTS_CONTROL_HANDSHAKE = 2,
  RTS_CONTROL_TOGGLE = 3
};
#endif /* !_WIN32 */

/* With ReadIntervalTimeout = MAXDWORD and both read totals 0 a read returns at
 * once with what has arrived; all five time-outs 0 means no time-out. */
#define PROBELINK_MAXDWORD 0xFFFFFFFFu

/* ---- Port layer ---------------------------------------------------------- */

/* 0 opened (or already open); -1 the device is missing, busy or refused.
 * A port number outside 1..16 opens nothing and returns the previous
 * OpenPort's result. The device is held exclusively. */
PROBELINK_API int32_t PROBELINK_CALL OpenPort(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ClosePort(int32_t port);
/* Why the latest OpenPort that failed could not open its device: the
 * operating system's error number (ENOENT no such device, EACCES or EPERM no
 * permission, EBUSY held by another program, ENOTTY not a serial device); 0
 * once an OpenPort has succeeded since. On Windows it is the system's error
 * code instead (ERROR_FILE_NOT_FOUND no such port, ERROR_ACCESS_DENIED held
 * by another program). */
PROBELINK_API int32_t PROBELINK_CALL LastOpenError(void);
/* The device COMn stands for on this machine: the link COMn in
 * $XDG_CONFIG_HOME/probelink/ports when it exists, else the default device.
 * Writes the path with its terminating NUL into `path` (`size` bytes) and
 * returns its length; -1 for a port outside 1..16 or a buffer too small. */
PROBELINK_API int32_t PROBELINK_CALL PortDevice(int32_t port, char *path, int32_t size);
/* 38400 8E1-style raw line (even parity sent, received parity unchecked, no
 * flow control, DTR off, RTS on) and one total time-out of timeoutMs per read
 * and per write call. What the device type cannot hold (parity on a
 * pseudo-terminal, modem lines) is not counted as refusal. */
PROBELINK_API int32_t PROBELINK_CALL ConfigPort(int32_t port, int32_t timeoutMs, int32_t baud);
PROBELINK_API int32_t PROBELINK_CALL GetPortConfig(int32_t port, int32_t *timeoutMs, int32_t *baud);
PROBELINK_API int32_t PROBELINK_CALL ClearRxBuffer(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ClearTxBuffer(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL PurgeRxTx(int32_t port);
/* -1 line setting unreadable, -2 time-outs unreadable, -3 properties. */
PROBELINK_API int32_t PROBELINK_CALL GetCompleteComConfig(int32_t port, DCB *dcb, COMMTIMEOUTS *timeouts,
                                           COMMPROP *properties);
/* 8 data bits, even parity and 1 stop bit are forced whatever dcb says.
 * -1 line setting refused, -2 time-outs refused, -3 queue sizes refused. */
PROBELINK_API int32_t PROBELINK_CALL SetCompleteComConfig(int32_t port, DCB dcb, COMMTIMEOUTS timeouts,
                                           uint32_t rxQueue, uint32_t txQueue);

/* ---- Frames and synchronisation ----------------------------------------- */

/* Writes a lone 0x80: 0 answered with 0x90, -1 any other byte or none,
 * -2 the OS write or read failed. */
PROBELINK_API int32_t PROBELINK_CALL SendSync(int32_t port);
/* Up to 13 lone sync bytes at a 50 ms time-out; the caller's time-out is
 * restored. 1 in step, 0 not. */
PROBELINK_API int32_t PROBELINK_CALL DoSynchronize(int32_t port);
/* family 0 base (low 16 bits of word), 1 Wren, 2 Finch (writes cut to 24
 * bits). 1 done, 0 failed or unknown family (nothing is sent then). */
PROBELINK_API int32_t PROBELINK_CALL SyncAndRead(int32_t port, int32_t family, uint32_t word, uint16_t *value);
PROBELINK_API int32_t PROBELINK_CALL SyncAndWrite(int32_t port, int32_t family, uint32_t word);
PROBELINK_API int32_t PROBELINK_CALL DLLVersion(void);

/* ---- Base register family: 16-bit reads, result is the value ------------ */

PROBELINK_API int32_t PROBELINK_CALL ReadStatus(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadVersion(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadyAD(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadxAD(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadVectorMag(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadAngle(int32_t port);
/* The index-window reads return -2 when the request cannot be written, like
 * every other read (never 0, which is a valid window). */
PROBELINK_API int32_t PROBELINK_CALL ReadPositiveIndexWindow(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadNegativeIndexWindow(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadStateFreqReg(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadInterpDepth(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadIndexAngle(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadGainX(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadOffsetX(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadGainY(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadOffsetY(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadPhase(int32_t port);

PROBELINK_API int32_t PROBELINK_CALL ReadRegister(int32_t port, uint16_t address, uint16_t *value);
PROBELINK_API int32_t PROBELINK_CALL WriteRegister(int32_t port, uint16_t word);
PROBELINK_API int32_t PROBELINK_CALL WriteInterpReg(int32_t port, uint16_t value);
PROBELINK_API int32_t PROBELINK_CALL WriteIndexAngleReg(int32_t port, uint16_t value);
PROBELINK_API int32_t PROBELINK_CALL WriteGenReg(int32_t port, uint8_t value);
PROBELINK_API int32_t PROBELINK_CALL WriteStateFreqReg(int32_t port, uint8_t value);
/* Three reads joined into one position, re-synchronising between them. Any
 * fault ends the read with the output unchanged: -1 for a bad reply or a
 * failed re-synchronisation, -2 when a step's request cannot be written. */
PROBELINK_API int32_t PROBELINK_CALL ReadPosition(int32_t port, int32_t *position);
/* As ReadPosition, sign-extended from bit 27. */
PROBELINK_API int32_t PROBELINK_CALL ReadShiftedPosition(int32_t port, int32_t *position);

/* ---- Information, reset and Epot commands -------------------------------- */

PROBELINK_API int32_t PROBELINK_CALL ReadMSPVersion(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadPowerOnTime(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadPowerOnCycles(int32_t port);
/* Nothing is awaited; allow the electronics 2000 ms before the next command. */
PROBELINK_API int32_t PROBELINK_CALL SoftwareSystemReset(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadMSPVersion_M(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadMSPChecksum_M(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadPowerOnTime_M(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadPowerOnCycles_M(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL SoftwareReset_M(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL WriteEpotValues(int32_t port, uint16_t value);
PROBELINK_API int32_t PROBELINK_CALL ReadEpotValues(int32_t port, uint8_t *a, uint8_t *b, uint8_t *c, uint8_t *d);
PROBELINK_API int32_t PROBELINK_CALL FlashEpot(int32_t port);

/* ---- Wren and Finch register families ------------------------------------ */

/* word = register number * 0x10000 + 16-bit value (0 for reads). */
PROBELINK_API int32_t PROBELINK_CALL ReadRegisterWren(int32_t port, uint32_t word, uint16_t *value);
PROBELINK_API int32_t PROBELINK_CALL WriteRegisterWren(int32_t port, uint32_t word);
/* 30-bit two's-complement position from registers 0x69, 0x68 and 0x27;
 * failures and the output as ReadPosition. */
PROBELINK_API int32_t PROBELINK_CALL ReadShiftedPositionWren(int32_t port, int32_t *position);
PROBELINK_API int32_t PROBELINK_CALL ReadRegisterFinch(int32_t port, uint32_t word, uint16_t *value);
PROBELINK_API int32_t PROBELINK_CALL WriteRegisterFinch(int32_t port, uint32_t word);
/* count 2: the 16-bit value; 4 to 6: the 32-bit value of data bytes 0..3.
 * Other counts return -1 without sending. */
PROBELINK_API int32_t PROBELINK_CALL ReadValueFinch(int32_t port, uint8_t command, uint16_t count);

/* ---- Streams, raw transfer, hardware reset ------------------------------- */

/* n is 1 to 70. */
PROBELINK_API int32_t PROBELINK_CALL BeginAsyncWren(int32_t port, int32_t n, const uint8_t *registers);
PROBELINK_API int32_t PROBELINK_CALL BeginAsyncFinch(int32_t port, int32_t n, const uint8_t *registers);
/* 0 one record of n values read; -1 no marker or a short record. The marker
 * hunt gives up after a bounded number of bytes without a marker. */
PROBELINK_API int32_t PROBELINK_CALL ReadAsyncWren(int32_t port, int32_t n, uint16_t *values);
PROBELINK_API int32_t PROBELINK_CALL ReadAsyncFinch(int32_t port, int32_t n, uint16_t *values);
/* Writes min(2n + 5, 200) stop bytes 0xA5; returns how many were written. */
PROBELINK_API int32_t PROBELINK_CALL EndAsync(int32_t port, int32_t n);
PROBELINK_API int32_t PROBELINK_CALL BeginLissMode(int32_t port);
PROBELINK_API int32_t PROBELINK_CALL ReadLissPoint(int32_t port, uint16_t *a, uint16_t *b, uint16_t *c,
                                    uint16_t *d);
PROBELINK_API int32_t PROBELINK_CALL EndLissMode(int32_t port);
/* 1 when n bytes arrived within the time-out, -1 otherwise; *received tells
 * how many did. */
PROBELINK_API int32_t PROBELINK_CALL ReadRs232Data(int32_t port, int32_t n, uint8_t *buffer, int32_t *received);
PROBELINK_API int32_t PROBELINK_CALL WriteRs232Data(int32_t port, int32_t n, const uint8_t *buffer);
/* A 300 ms DTR pulse with RTS held on. -1, -2 or -3 when the first, second or
 * third line change is refused (a pseudo-terminal has no DTR: -1). */
PROBELINK_API int32_t PROBELINK_CALL SystemReset(int32_t port);

#ifdef __cplusplus
}
#endif

#endif /* PROBELINK_H */
