/** @file ConsoleFrameComposer.h Composes the console display into the frames the main form shows. */
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "KorvaneXDK/core/Object.h"
#include "host/MemoryBackBuffer.h"

/// The main form's composing half, free of any toolkit: it owns the three pixel buffers, the
/// device-resources flag and the tick of the last hand-over, and turns the display state into
/// a 512 x 512 frame on the game thread. Everything here runs under the display lock.
///
/// The most recently constructed composer is the process's instance; the games hand their
/// frames over through it.
class CConsoleFrameComposer : public virtual korvane::CNonCopyable
{
public:
    using BufferPtr = std::shared_ptr<CMemoryBackBuffer>;

    static constexpr std::int32_t kCompositionSize = 256;
    static constexpr std::int32_t kCompositionPitch = kCompositionSize * 4;
    static constexpr std::int32_t kFrameSize = 512;

    CConsoleFrameComposer();
    /// Clears the instance pointer when it points here, under the display lock, so that a game
    /// handing over at the same moment either finishes first or finds no instance.
    ~CConsoleFrameComposer() override;

    /// The current instance, or null. Use HandOverToInstance to call it safely from a game.
    static CConsoleFrameComposer* GetInstance();
    /// Calls PresentConsoleFrame on the current instance under the display lock; nothing without one.
    static void HandOverToInstance();

    /// The games' hand-over: composes the next frame.
    virtual void PresentConsoleFrame();

    /// Keeps the newest frame as the previous one and composes a new newest frame. Does nothing
    /// while the device resources are missing: no tick stored, no frame kept or composed.
    void RenderConsoleFrame();
    /// Every pixel of the buffer becomes the backdrop colour, alpha included.
    void ClearToBackdrop(const BufferPtr& buffer);
    /// Draws tile layer 0 or 1 over the visible screen, or (layer 1) inside or outside the window.
    void DrawTileLayer(const BufferPtr& buffer, int layer);
    /// Draws the shown sprites whose priority bit equals the pass, lower indices on top.
    void DrawSprites(const BufferPtr& buffer, int pass);
    /// Each source pixel becomes a 2 x 2 block of the destination.
    void DoubleToTextureBuffer(const BufferPtr& destination, const BufferPtr& source);

    /// Makes the 256 x 256 composition buffer and the two 512 x 512 frames (rows framePitch bytes
    /// apart, at least 2048), all zero, and sets the device-resources flag.
    void MakeBuffers(std::int32_t framePitch);
    /// Drops the three buffers and clears the flag.
    void DropBuffers();

    bool HasDeviceResources() const;
    /// The tick of the last hand-over (0 until the first).
    double GetLastHandOverTick() const;
    BufferPtr GetCompositionBuffer() const;
    BufferPtr GetNewestFrame() const;
    BufferPtr GetPreviousFrame() const;

private:
    static std::atomic<CConsoleFrameComposer*> instance_;

    BufferPtr composition_;
    BufferPtr newest_;
    BufferPtr previous_;
    bool hasDeviceResources_ = false;
    double lastHandOverTick_ = 0.0;
};

namespace console_testing
{

/// Turns the processor-specific writer of whole tile cells off, so that tests can compare the
/// portable path too; on again where the processor has it.
void SetWideCells(bool enabled);

} // namespace console_testing
