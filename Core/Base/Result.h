#pragma once

// Result of every engine operation that can fail; a failure is passed up unchanged.
enum VNResultEnum : int {
  VN_OK = 0,
  VN_FAIL = 1,
};
