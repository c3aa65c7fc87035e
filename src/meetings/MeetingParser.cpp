#include "meetings/MeetingParser.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "net/PageText.h"

namespace selvane {
namespace {

using std::string_view;

constexpr string_view kNotFormEnd[] = {"<HR>", "<HR ", "<TABLE ", "<TABLE>", "</TABLE>", "<TR>", "<TR ",
                                       "</TR>", "<TD>", "<TD ", "</TD>", "</A>"};

// Spaces and tabs only: the indentation between the options of a list, no date a user could choose.
bool isBlank(string_view text) { return text.find_first_not_of(" \t") == string_view::npos; }


// A table slot for a number the page gave; the number rounds as an array index does.
bool slotOf(double number, int last, int& slot) {
    const double r = std::nearbyint(number);
    if (!(r >= 1 && r <= last)) return false;
    slot = static_cast<int>(r);
    return true;
}

void clearMeetingSlots(MeetingTables& t) {
    t.meetingNames.fill({});
    t.meetingLinks.fill({});
    t.meetingLastRace.fill(0);
    for (auto& races : t.raceTable) races.fill({});
    t.leftOut.clear();
}

void clearSlot(MeetingTables& t, int m) {
    t.meetingNames[m].clear();
    t.meetingLinks[m].clear();
    t.meetingLastRace[m] = 0;
    t.raceTable[m].fill({});
}

enum class Walk { Full, MeetingsOnly, Dates };

// One walk over the normalised page: find "<", find ">", test the tag (letter case ignored), take
// the text up to the next "<". Each entry point is this walk with its own tests.
class MeetingScanner {
public:
    MeetingScanner(string_view text, MeetingTables& t, Walk walk) : text_(text), t_(t), walk_(walk) {}

    void run() {
        std::size_t pos = 0;
        while (true) {
            const std::size_t open = text::findByte(text_, '<', pos);
            if (open == string_view::npos) return;
            const std::size_t close = text::findByte(text_, '>', open);
            if (close == string_view::npos) return;
            takeTag(text_.substr(open, close - open + 1));

            if (walk_ == Walk::Dates) {
                if (!classifyForDates()) return;
            } else {
                if (!classify()) return;
                if (afterGoMarker_ && !readName()) return;
            }

            const std::size_t next = text::findByte(text_, '<', close + 1);
            if (next == string_view::npos) return;
            // Adjacent tags have no text between them (not "><").
            const string_view between = text_.substr(close + 1, next - close - 1);
            if (!(walk_ == Walk::Dates ? takeDateText(between) : takeText(between))) return;
            pos = next;
        }
    }

private:
    // The spellings the tests below look for, found in one scan of the tag.
    enum Mark : unsigned {
        kDateList = 1,      // kDateListTag
        kSelectSpace = 2,   // <SELECT
        kSelectShut = 4,    // <SELECT>
        kSelectEnd = 8,     // </SELECT>
        kFormEnd = 16,      // </FORM>
        kOptionValue = 32,  // <OPTION VALUE
        kNoValue = 64,      // <OPTION VALUE="">
    };

    void takeTag(string_view raw) {
        tag_ = raw;
        marks_ = 0;
        text::forEachOpening(tag_, [this](const text::TagOpening& o) {
            const string_view from = tag().substr(o.at);
            if (text::equalsNoCase("SELECT", o.name)) {
                if (o.closing && o.after == '>') marks_ |= kSelectEnd;
                if (!o.closing && o.after == '>') marks_ |= kSelectShut;
                if (!o.closing && o.after == ' ') {
                    marks_ |= kSelectSpace;
                    if (text::startsNoCase(from, kDateListTag)) marks_ |= kDateList;
                }
            } else if (text::equalsNoCase("FORM", o.name)) {
                if (o.closing && o.after == '>') marks_ |= kFormEnd;
            } else if (text::equalsNoCase("OPTION", o.name) && !o.closing && text::startsNoCase(from, "<OPTION VALUE")) {
                marks_ |= kOptionValue;
                if (text::startsNoCase(from, R"(<OPTION VALUE="">)")) marks_ |= kNoValue;
            }
            return true;
        });
    }
    bool marked(Mark m) const { return (marks_ & m) != 0; }
    string_view tag() const { return tag_; }

    // False ends the scan.
    bool classify() {
        if (walk_ == Walk::Full && marked(kDateList)) {
            collectingDates_ = true;
        } else if (marked(kSelectShut) || marked(kSelectSpace)) {
        } else if (marked(kSelectEnd)) {
            if (afterGoMarker_ && inRaceList_) {
                if (t_.meetingCounter > MeetingTables::kMeetings) return false;
                inRaceList_ = false;
                if (leavingOut_) {
                    // The slot goes to the next meeting, with nothing of this one in it.
                    clearSlot(t_, t_.meetingCounter);
                    leavingOut_ = false;
                } else {
                    t_.meetingLastRace[t_.meetingCounter] = lastRaceSeen_;
                    ++t_.meetingCounter;
                }
                lastRaceSeen_ = 0;
            }
        } else if (marked(kFormEnd)) {
            for (string_view other : kNotFormEnd)
                if (text::containsNoCase(tag(), other)) return true;
            return false;
        }
        return true;
    }

    // NAME="M..." opens a meeting (its link key), NAME="N..." its race list.
    bool readName() {
        // The first "NAME=", found by its "=".
        std::size_t p = string_view::npos;
        for (std::size_t e = text::findByte(tag(), '=', 0); e != string_view::npos; e = text::findByte(tag(), '=', e + 1))
            if (e >= 4 && text::startsNoCase(tag().substr(e - 4), "NAME=")) {
                p = e - 4;
                break;
            }
        if (p == string_view::npos) return true;
        const std::size_t valueStart = p + 6;  // past NAME= and the opening quote
        const std::size_t quote = tag().find('"', valueStart);
        if (quote == string_view::npos || quote == valueStart) return true;
        const string_view value = tag().substr(valueStart, quote - valueStart);
        const char kind = text::upperAscii(value[0]);
        if (kind == 'M') {
            if (t_.meetingCounter > MeetingTables::kMeetings) return false;
            std::string& link = t_.meetingLinks[t_.meetingCounter];
            link.resize(value.size());
            for (std::size_t i = 0; i < value.size(); ++i) link[i] = text::lowerAscii(value[i]);
            currentMeeting_ = t_.meetingCounter;
        } else if (kind == 'N') {
            inRaceList_ = true;
        }
        return true;
    }

    bool takeText(string_view text) {
        // The empty or blank text after the list's opening tag or after </OPTION> is no date the user
        // could choose; the selected option is always taken, since it ends the list.
        const bool selected = text::startsNoCase(tag(), "<OPTION SELECTED");
        if (collectingDates_ && (!isBlank(text) || selected)) {
            if (dateCount_ >= MeetingTables::kDates) return false;
            t_.meetingDates[dateCount_] = std::string(text);
            ++dateCount_;
            if (selected) {
                collectingDates_ = false;
                t_.selectedDateIndex = static_cast<float>(dateCount_ - 1);
            }
        }
        if (!afterGoMarker_ && text::contains(text, kGoMark)) afterGoMarker_ = true;
        if (afterGoMarker_ && inRaceList_) {
            if (marked(kOptionValue) && !leavingOut_) {
                if (!takeRace(text)) leaveOutMeeting(text);
            }
        } else if (afterGoMarker_) {
            if (marked(kNoValue)) {
                if (currentMeeting_ < 1) return false;
                // Trimmed, so that a name with a leading blank still gives its first word to the track box.
                t_.meetingNames[currentMeeting_] = std::string(text::trimSpaces(text));
            }
        }
        return true;
    }

    // One race option into the open meeting's slot; false when it cannot be read.
    bool takeRace(string_view text) {
        if (text.empty() || text.front() == ' ') return false;
        const string_view firstWord = text.substr(0, text.find(' '));
        const float race = static_cast<float>(text::leadingNumber(firstWord.substr(1)));
        if (!storeRaceOption(text, t_, currentMeeting_, race)) return false;
        lastRaceSeen_ = race;
        return true;
    }

    void leaveOutMeeting(string_view raceText) {
        LeftOutMeeting m;
        if (currentMeeting_ >= 1) {
            m.name = t_.meetingNames[currentMeeting_];
            m.link = t_.meetingLinks[currentMeeting_];
        }
        m.raceText = std::string(raceText);
        t_.leftOut.push_back(std::move(m));
        leavingOut_ = true;
    }

    bool takeDateText(string_view text) {
        if (!listSeen_ || isBlank(text)) return true;
        t_.meetingDates[dateCount_] = std::string(text);
        return ++dateCount_ < 5;
    }

    bool classifyForDates() {
        if (marked(kSelectSpace)) listSeen_ = true;
        return true;
    }

    string_view text_;
    MeetingTables& t_;
    Walk walk_;
    string_view tag_;
    unsigned marks_ = 0;

    bool afterGoMarker_ = false;
    bool inRaceList_ = false;
    bool collectingDates_ = false;
    bool listSeen_ = false;
    bool leavingOut_ = false;  // a race option of the open race list could not be read
    int currentMeeting_ = 0;
    float lastRaceSeen_ = 0;
    int dateCount_ = 0;
};

void scan(string_view page, MeetingTables& t, Walk walk) {
    t.meetingCounter = 1;
    clearMeetingSlots(t);
    if (walk == Walk::Full) {
        t.selectedDateIndex = 0;
        t.meetingDates.fill({});
    }
    const std::string text = text::rewritePageTags(page);
    MeetingScanner(text, t, walk).run();
}

}  // namespace

bool storeRaceOption(std::string_view text, MeetingTables& t, float meeting, float race) {
    int m = 0, r = 0;
    if (text.empty()) return true;
    if (!slotOf(meeting, MeetingTables::kMeetings, m) || !slotOf(race, MeetingTables::kRaces, r)) return false;

    // The fields go in as the form-guide parse always wrote them (1, 2, 4, 3), so a text that
    // breaks off leaves the fields before the break written.
    RaceRow& row = t.raceTable[m][r];
    const std::size_t space1 = text.find(' ');
    const string_view word1 = text.substr(0, space1);
    row.number = std::string(word1.substr(word1.empty() ? 0 : 1));
    if (space1 == string_view::npos) return false;
    const std::size_t space2 = text.find(' ', space1 + 1);
    const string_view word2 =
        text.substr(space1 + 1, space2 == string_view::npos ? string_view::npos : space2 - space1 - 1);
    row.time = std::string(word2);
    const string_view length = text.substr(text.rfind(' ') + 1);
    row.length = std::string(length);
    // The middle words and the space after them; negative when there are fewer than three words.
    const long trackLength = static_cast<long>(text.size()) - static_cast<long>(word1.size() + word2.size()) -
                             static_cast<long>(length.size() + 2);
    if (trackLength < 0) return false;
    row.track = std::string(text.substr(word1.size() + word2.size() + 2, trackLength));
    return true;
}

void parseMeetingList(std::string_view page, MeetingTables& t) { scan(page, t, Walk::Full); }

void parseMeetingsOnly(std::string_view page, MeetingTables& t) { scan(page, t, Walk::MeetingsOnly); }

void collectDateOptions(std::string_view page, MeetingTables& t) { scan(page, t, Walk::Dates); }

}  // namespace selvane
