#include "promo/TellAFriend.h"

#include "net/PageText.h"


namespace selvane {

MailMessage tellAFriendMessage(const std::string& makerSite) {
    MailMessage m;
    m.subject = "Orvanta Box Five Selvane";
    m.body = "Hi,\n"
             "\n"
             "I found this Orvanta Box Five Selvane software works very well.\n"
             "It gives you the box five tips, eachway bet, live odds, live results for each races\n"
             "and best of all it's free to use.\n"
             "\n"
             "I thought you would be interested to have a look.\n"
             "Go and get it yourself from this link here " +
             makerSite +
             "\n"
             "\n"
             "There is no spyware, no addware, no viruses, 100% clean to install.\n"
             "\n"
             "Cheers!";
    return m;
}

void cmdEmail(const std::string& makerSite, MailPort* mail, MessageBoxPort* messages) {
    bool sent = false;
    try {
        sent = mail && mail->compose(tellAFriendMessage(makerSite));
    } catch (...) {
    }
    if (!sent && messages)
        messages->show("Email Error", "Cannot send mail.\r\nPlease try again later", MessageIcon::None,
                       MessageButtons::Ok);
}

std::vector<std::string> xdgEmailArguments(const MailMessage& message) {
    std::vector<std::string> args;
    if (!message.subject.empty()) args.insert(args.end(), {"--subject", message.subject});
    if (!message.body.empty()) args.insert(args.end(), {"--body", message.body});
    // A recipient that looks like an option would be read as one.
    if (!message.recipient.empty() && message.recipient[0] != '-') args.push_back(message.recipient);
    return args;
}

std::string mailtoAddress(const MailMessage& message) {
    std::string url = "mailto:" + text::addressPart(message.recipient);
    char separator = '?';
    for (const auto& [name, value] : {std::pair<const char*, const std::string&>{"subject", message.subject},
                                      std::pair<const char*, const std::string&>{"body", message.body}}) {
        if (value.empty()) continue;
        url += separator;
        url += name;
        url += '=';
        url += text::addressPart(value);
        separator = '&';
    }
    return url;
}

}  // namespace selvane
