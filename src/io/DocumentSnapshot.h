#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

class Document;

// The whole document kept in memory: a step of the undo history, and what a
// recovery copy holds. Its content is the document in the .vrs form of
// version 1.2 with every travel-time profile (also those beyond the counts
// in use) and no label images; the label images are kept beside it exactly
// as the labels hold them, whatever the document's saveLabelImages says. So
// restoring gives back the document a save would write byte for byte, and
// two snapshots compare by their content alone: a render that images labels
// between them changes nothing that counts.
//
// What the file form does not carry is kept as well: the profile counts,
// noDocument, labelImagesStale and the train count. Where the document sits
// on disk (its file name, untitled) is not part of it.
class DocumentSnapshot
{
public:
    static DocumentSnapshot take(const Document &doc);

    enum class View {
        Keep, // the zoom, the axis ratio and the three check boxes stay as they are
        Take, // they are the snapshot's too (a recovered document)
    };

    // Makes the document what it was when the snapshot was taken: stations,
    // kinds (linked, none created), trains, labels in their order with their
    // images, profiles and settings. Label images made with another
    // "Vyhlazení" or "Zobr. druh vlaku" than the document shows afterwards
    // are dropped, to be imaged again. Minute labels are not made: the caller
    // makes them and renders, as after Open. Returns false, with the
    // document untouched, when the snapshot cannot be read.
    bool restore(Document &doc, View view) const;

    // The same document content (noDocument and the profile counts count).
    bool sameContent(const DocumentSnapshot &other) const;
    // Parts equal to other's share its memory from now on.
    void shareEqualParts(const DocumentSnapshot &other);

    // Bytes held; shared parts are counted by every snapshot that holds them.
    qsizetype byteSize() const { return m_content.size() + m_images.size(); }
    // Identities of the two buffers, for counting shared memory once.
    const void *contentId() const { return m_content.constData(); }
    const void *imagesId() const { return m_images.constData(); }
    qsizetype contentSize() const { return m_content.size(); }
    qsizetype imagesSize() const { return m_images.size(); }

    bool noDocument() const { return m_state.noDocument; }

    // One byte string of everything, and back (a recovery copy's body).
    QByteArray serialize() const;
    static std::optional<DocumentSnapshot> deserialize(const QByteArray &bytes);

private:
    struct State
    {
        bool noDocument = true;
        bool labelImagesStale = false;
        int32_t trainCount = 0;
        uint8_t profileCount1 = 0;
        uint8_t profileCount2 = 0;
    };

    QByteArray m_content;
    QByteArray m_images;
    State m_state;
};
