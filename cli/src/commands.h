// The commands, each reading what it needs from the invocation and
// printing its result on standard output; a Failure ends any of them.
#pragma once

#include <string>

#include "command_line.h"
#include "printer.h"
#include "session.h"

namespace probelink_cli {

void Ports(const Invocation& invocation);
void IdentifyCommand(const Invocation& invocation);
void Status(const Invocation& invocation);
void ReadRegisters(const Invocation& invocation);
void WriteRegister(const Invocation& invocation);
void Stream(const Invocation& invocation);
void Reset(const Invocation& invocation);
void Zero(const Invocation& invocation);
void CenterIndex(const Invocation& invocation);
void Set(const Invocation& invocation);
void Align(const Invocation& invocation);

// Runs the command the invocation names.
void Run(const Invocation& invocation);

// Shared by the commands' documents.
Document DescribeSetup(const Identity& identity);
// What a device command prints once the electronics took it.
void PrintAccepted(const Invocation& invocation, const Session& session);

}  // namespace probelink_cli
