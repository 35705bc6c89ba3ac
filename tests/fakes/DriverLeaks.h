#pragma once
// Mesa keeps allocations of its contexts and compiled programs past their deletion and unloads its
// driver at exit, so the leak checker can neither name nor excuse them. Tests of the OpenGL device
// call this with true before making the context and with false after deleting it: nothing allocated
// in between is leak-checked.
namespace fakes {

void IgnoreDriverLeaks(bool ignore);

}  // namespace fakes
