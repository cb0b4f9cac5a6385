#pragma once
// The operations of tarvik-reg. Each returns the exit code: 0 on success,
// 1 after printing a message.

#include "RegArguments.h"
#include "RegReport.h"

namespace tarvik_reg {

int RunCommand(const Arguments& arguments, Streams streams);

int Query(const Arguments& arguments, Streams streams);
int Add(const Arguments& arguments, Streams streams);
int Delete(const Arguments& arguments, Streams streams);
int Export(const Arguments& arguments, Streams streams);
int Import(const Arguments& arguments, Streams streams);

}  // namespace tarvik_reg
