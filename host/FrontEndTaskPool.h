/** @file FrontEndTaskPool.h The front end's cooperative tasks, run once a display frame on the main thread. */
#pragma once

#include <cstdint>

struct FrontEndTask;

/// A task's routine, called with its own record (at allocation, then once a frame).
using FrontEndTaskRoutine = void (*)(FrontEndTask* task);

/// One record of the pool. The routine owns State, Timer, Links and Work; the pool owns the rest.
struct FrontEndTask
{
    std::uint8_t Live;      ///< 1 while the record is in use
    std::int8_t List;       ///< the list it is linked into (always 0)
    std::uint8_t InUse;     ///< set and cleared with Live
    std::uint8_t Reserved;  ///< never touched by the pool
    std::uint8_t State;     ///< the routine's state, 0 at allocation
    std::uint8_t FirstCall; ///< 1 during the call made by TaskPoolAlloc
    std::uint16_t Index;    ///< 0 to 4999; 5000 in the spare record; read it with TaskPoolReadIndex
    std::uint32_t Serial;   ///< new at allocation and at freeing; read it with TaskPoolReadSerial
    std::uint16_t Previous; ///< kNoFrontEndTask for none
    std::uint16_t Next;     ///< kNoFrontEndTask for none
    float Timer;
    FrontEndTaskRoutine Routine;
    std::uint32_t Words[2];
    std::uint32_t Links[8]; ///< 0xFFFFFFFF at allocation
    std::uint8_t Work[768]; ///< zero at allocation
};

constexpr std::uint16_t kFrontEndTaskCount = 5000;
/// The index of the spare record handed out when no record can be given.
constexpr std::uint16_t kFrontEndTaskSpare = 5000;
constexpr std::uint16_t kNoFrontEndTask = 0xFFFF;

// Every operation takes the pool's one recursive lock: the score upload allocates from a game
// thread while the main thread runs the pool, and routines allocate and free inside a run.

/// Empties the pool without calling any routine. The first run afterwards stops after the
/// first routine it calls.
void TaskPoolInit();
/// A new live record whose routine has been called once, or the zeroed spare record (index
/// 5000, routine not called) when all 5000 are live.
FrontEndTask* TaskPoolAlloc(FrontEndTaskRoutine routine);
/// Frees a live record and gives it a new serial; a record that is not live is left alone.
void TaskPoolFree(FrontEndTask* task);
/// Calls every live record's routine once, list by list from the head. A record that another
/// routine freed during the run is passed over.
void TaskPoolRunAll();
/// The number of live records.
std::int32_t TaskPoolCount();
/// The record's serial, read safely while another thread may free the record.
std::uint32_t TaskPoolReadSerial(const FrontEndTask* task);
/// The record's index, read safely while another thread may hand the spare record out again.
std::uint16_t TaskPoolReadIndex(const FrontEndTask* task);

namespace host_testing
{
/// Sets the pool's serial counter (the last serial handed out), to reach its wrap quickly.
void TaskPoolSetSerialCounter(std::uint32_t serial);
} // namespace host_testing
