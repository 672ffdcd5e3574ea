#pragma once
// Clocks of seconds. Frame times come from a monotonic clock, so setting the
// wall clock back cannot run the scene backwards; the random seed comes from
// the wall clock's whole seconds.

// Wall-clock seconds (since 2001-01-01, as the absolute clock counts them).
double CFAbsoluteTimeGetCurrent();

// Seconds of a monotonic clock, for measuring intervals.
double MonotonicSeconds();

// Replaces the monotonic clock (headless rendering steps it by exact frame
// times; tests step it by hand). nullptr restores the real clock.
using SecondsSource = double (*)();
void SetMonotonicSource(SecondsSource source);

// Replaces the wall clock (a headless run given a seed fixes it, so that the
// seed taken from its whole seconds is the one asked for). nullptr restores it.
void SetAbsoluteSource(SecondsSource source);
