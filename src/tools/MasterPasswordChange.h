#pragma once
// What the "Update MASTER P/W" button does with the three boxes of the options' Master page: the current
// master password, the new one and the new one again.
//
// A change needs the current password (the one that gives the held verifier under the key in force), a
// new password of at least 4 characters that the cipher can take, and the same text twice. On success
// the key in force, the held verifier, the stored verifier and the master password in clear are all
// replaced; data files made before keep the password they were made with. A refusal changes nothing.
// Every outcome is a line of text for the page, never a message box.
#include <QString>
#include <functional>

class MasterPasswordChange
{
public:
    enum class Outcome { Changed, IncompleteMaster, InvalidMaster, ShortNew, NewOutsideCodePage, ConfirmMismatch };
    // The box the user is sent back to, its text selected for retyping.
    enum class Field { None, Master, Change, Confirm };

    struct Result
    {
        Outcome outcome = Outcome::Changed;
        QString inform; // the outcome line
        Field selectAll = Field::None;
        bool clearConfirm = false; // the confirmation box is emptied as well
    };

    // Writes a user's new password verifier to the settings store; throws RuntimeError when it cannot.
    using StoreVerifier = std::function<void(const QString& user, const QString& verifier)>;

    // The boxes hold at most this many characters.
    static constexpr int kMaxLength = 16;

    explicit MasterPasswordChange(StoreVerifier storeVerifier);

    // One press of the button. A store that cannot be written raises its RuntimeError after the key in
    // force has been put back, so the login values and the cipher still agree with the stored verifier.
    // A new password longer than kMaxLength raises RuntimeError 5.
    Result apply(const QString& current, const QString& newPassword, const QString& confirmation) const;

    static QString informText(Outcome outcome);

private:
    bool isCurrentMasterPassword(const QString& current) const;
    void replaceMasterPassword(const QString& newPassword) const;

    StoreVerifier m_storeVerifier;
};
