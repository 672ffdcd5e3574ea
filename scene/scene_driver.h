#pragma once
// The scene driver: owns the code field and the texture slots, takes the time
// of every frame and draws every frame.
#include <cstdint>

#include "geometry/vector3d.h"
#include "resources/texture.h"
#include "scene/code_field.h"

class SSMAIN {
public:
    static constexpr int EMPTYSLOTS = 6;

    // The starting values; viewWidth is the view's width in whole pixels.
    explicit SSMAIN(int32_t viewWidth);
    ~SSMAIN();
    SSMAIN(const SSMAIN&) = delete;
    SSMAIN& operator=(const SSMAIN&) = delete;

    void Setup(bool preview, int32_t width, int32_t height);
    void Cleanup();
    void SetSize(int32_t width, int32_t height);
    void Update(double seconds);
    void Draw();

    // The overlay: banners, clock and intro (drawn outside the preview only).
    void DoOverlay();
    void DoIntro();

    // Cleanup and destruction of the code field; CODE is none afterwards.
    void DiscardCode();

    // The eight atlas cells of a time: hh, separator (10), mm, separator, ss.
    static void ClockCells(int hour, int minute, int second, bool twelveHour, int cells[8]);

    double TOTALTIME;
    double FRAMETIME;
    int32_t WIDTH;
    int32_t HEIGHT;
    bool PREVIEW;
    float BANNERTIMER;
    bool BANNERSHOWN;
    bool BANNERATTOP;
    point2d BANNERPOS;
    point2d BANNERSTART;
    uint32_t BANNERSLOT;
    bool INTRODONE;
    float INTROSLIDEA;
    float INTROSLIDEB;
    float INTROFADEA;
    float INTROFADEB;
    int32_t NUMTEXTURES;
    Texture* TEXTURES;   // an array from new[]; delete[] walks its own length
    KORVELCODE* CODE;

private:
    void ReleaseTextures();
    uint32_t SlotTexture(uint32_t slot) const;
};
