#pragma once

#include "model/Records.h"

#include <QByteArrayView>
#include <QFont>
#include <QImage>
#include <QSize>

#include <cstdint>
#include <deque>
#include <vector>

// The rotated image of a train label. The diagram surface cannot draw
// rotated text, so the text is drawn upright into a small bitmap, turned
// pixel by pixel into a second one and kept in the label record as a
// run-length image that replay blends straight into the diagram bitmap.
//
// The image keeps one colour component of the result (the channel): 0 where
// the text is, 255 where the white background shows. Together with the
// label's colour that is all replay needs.

// Which colour component of the result bitmap is kept: the one that is 0 in
// the text colour and 255 in white.
enum class LabelChannel : uint8_t { Red, Blue };

struct LabelImage
{
    QImage bitmap; // RGB32, white where no text pixel landed; null for an empty text
    LabelChannel channel = LabelChannel::Red;
    int32_t colour = 0; // the text colour, packed
};

// The text colour of a label: red for a "Rušící" train, else its category's.
int32_t labelImageColour(QByteArrayView text, bool rusici);

// The font the upright text is drawn in: the label's font without the
// platform's smoothing, three times as high with "Vyhlazení".
QFont labelTextFont(const QFont &labelFont, bool smoothing);

// The size of the turned bitmap for an upright text of textSize, and of the
// image EncodeLabelImage makes of it; empty when nothing would be drawn.
struct LabelImageSize
{
    QSize bitmap{0, 0};
    QSize encoded{0, 0};
};
LabelImageSize labelImageSize(QSize textSize, double angle, bool smoothing);

// Draws the label text (cut to its number when showCategory is off) in the
// label's font and turns it by angle (radians, negative rises to the right).
// With smoothing the text is drawn three times as high, for EncodeLabelImage
// to average back down. font is the label's font from Fonts::makeFont.
LabelImage MakeLabelImage(QByteArrayView text, bool rusici, double angle, const QFont &font, bool smoothing,
                          bool showCategory);

// Replaces the label's run-length image with the channel of bitmap, averaged
// over 3 x 3 blocks when smoothed. Returns the size of the encoded image.
QSize EncodeLabelImage(TrainLabel &label, const QImage &bitmap, LabelChannel channel, bool smoothed);

// Draws the image a label owes (its imageOrder) and keeps it as the label's
// run-length image. Labels are independent: several may be drawn at once on
// several threads.
void DrawOwedLabelImage(TrainLabel &label);

// Draws every owed image of the labels, on all cores; the labels' order and
// the images are the same however the work is shared.
void DrawOwedLabelImages(std::vector<TrainLabel *> &labels);
// Every image the labels still owe: what a document saved with its label
// images must hold.
void DrawOwedLabelImages(std::deque<TrainLabel> &labels);

// Blends every cached label image into bitmap (RGB32), which shows the
// diagram rectangle vx0..vx1 x vy0..vy1 from its top-left corner; in
// `bands` horizontal bands of its rows on all cores.
void ComposeLabelImages(const std::deque<TrainLabel> &labels, QImage &bitmap, int32_t vx0, int32_t vy0, int32_t vx1,
                        int32_t vy1, int bands = 1);
