#include "presentation/SourceTexts.h"

namespace snoozlet::presentation {

namespace {

bool laptop(NightSource source) { return source == NightSource::journal; }

struct PageTexts {
  Bilingual title;
  Bilingual body;
};

// The pages on a Mac: macOS keeps its log, runs the fixes and asks for the password.
constexpr PageTexts kMacPages[] = {
    {{"Why did your Mac wake up?", "Mac’in neden uyandı?"},
     {"I’m the Snoozlet. Every morning I read how your Mac slept: how often it woke in the dark, who woke it, and "
      "where the battery went. Then I tell you in a few sentences.",
      "Ben Snoozlet. Her sabah Mac’inin nasıl uyuduğunu okurum: karanlıkta kaç kez uyandı, onu kim uyandırdı, pil "
      "nereye gitti. Sonra sana birkaç cümleyle anlatırım."}},
    {{"You don’t have to keep me open", "Beni açık tutman gerekmez"},
     {"macOS writes down every night by itself and keeps about seven of them. When you open me, I read those nights "
      "and copy them into my own notebook, so they aren’t lost after a week. Keep me running, or turn on “Open at "
      "login”, only if you want the morning notification.",
      "macOS her geceyi kendisi yazar ve yaklaşık yedisini saklar. Beni açtığında o geceleri okur, kendi defterime "
      "geçiririm; böylece bir hafta sonra kaybolmazlar. Beni açık tut ya da “Oturum açılınca başlat”ı aç; ama "
      "yalnızca sabah bildirimini istiyorsan."}},
    {{"How to read a night", "Bir gece nasıl okunur"},
     {"The dark band is the night, from closing the lid to opening it. Each amber stroke is a moment I woke in the "
      "dark; the pale line is the battery. Every reason gets its own row underneath. “Normal” is this Mac’s own usual "
      "night, so “2.9× normal” means something changed.",
      "Koyu şerit, kapağı kapattığından açtığına kadar olan gecedir. Her kehribar çizgi karanlıkta uyandığım bir "
      "andır; soluk çizgi pildir. Her nedenin altta kendi satırı vardır. “Normal”, bu Mac’in kendi olağan gecesidir; "
      "yani “normalin 2,9 katı” bir şeylerin değiştiğini gösterir."}},
    {{"Nothing changes without you", "Sen olmadan hiçbir şey değişmez"},
     {"When I can help, I suggest a setting and show you the exact command, what you give up and how to undo it. "
      "macOS asks for your password; I keep the old value, so you can put it back in one step.",
      "Yardım edebildiğimde bir ayar önerir, tam komutu, neden vazgeçeceğini ve nasıl geri alacağını gösteririm. "
      "macOS parolanı sorar; eski değeri saklarım, böylece tek adımda geri koyabilirsin."}},
    {{"Two optional extras", "İsteğe bağlı iki ek"},
     {"If you like, I can tap you on the shoulder each morning and start quietly when you log in. Both stay off until "
      "you turn them on, here or later in Settings.",
      "İstersen her sabah omzuna dokunur, oturum açtığında sessizce başlarım. İkisi de sen açana kadar kapalı kalır; "
      "burada ya da sonra Ayarlar’da."}},
};

// The pages on a Linux laptop: the system journal keeps the nights, the kernel
// counts the wakes it never writes down, and its settings change through the
// helper after the password.
constexpr PageTexts kLaptopPages[] = {
    {{"Why did your laptop wake up?", "Dizüstün neden uyandı?"},
     {"I’m the Snoozlet. Every morning I read how your laptop slept: how often it woke in the dark, who woke it, and "
      "where the battery went. Then I tell you in a few sentences.",
      "Ben Snoozlet. Her sabah dizüstünün nasıl uyuduğunu okurum: karanlıkta kaç kez uyandı, onu kim uyandırdı, pil "
      "nereye gitti. Sonra sana birkaç cümleyle anlatırım."}},
    {{"You don’t have to keep me open", "Beni açık tutman gerekmez"},
     {"The system journal writes down every sleep by itself and keeps it until it needs the room. When you open me, "
      "I read those nights and copy them into my own notebook, so they aren’t lost when old entries go. Keep me "
      "running, or turn on “Open at login”, for the morning notification and for the kernel’s own count of what woke "
      "the laptop, which I can only read around a sleep while I run.",
      "Sistem günlüğü her uykuyu kendisi yazar ve yere ihtiyaç duyana kadar saklar. Beni açtığında o geceleri okur, "
      "kendi defterime geçiririm; böylece eski kayıtlar silinince kaybolmazlar. Sabah bildirimi ve çekirdeğin "
      "dizüstünü neyin uyandırdığına dair kendi sayımı için beni açık tut ya da “Oturum açılınca başlat”ı aç; o "
      "sayımı ancak ben çalışırken, bir uykunun öncesinde ve sonrasında okuyabilirim."}},
    {{"How to read a night", "Bir gece nasıl okunur"},
     {"The dark band is the night, from closing the lid to opening it. Each amber stroke is a moment I woke in the "
      "dark; the pale line is the battery. Every reason gets its own row underneath. “Normal” is this laptop’s own "
      "usual night, so “2.9× normal” means something changed.",
      "Koyu şerit, kapağı kapattığından açtığına kadar olan gecedir. Her kehribar çizgi karanlıkta uyandığım bir "
      "andır; soluk çizgi pildir. Her nedenin altta kendi satırı vardır. “Normal”, bu dizüstünün kendi olağan "
      "gecesidir; yani “normalin 2,9 katı” bir şeylerin değiştiğini gösterir."}},
    {{"Nothing changes without you", "Sen olmadan hiçbir şey değişmez"},
     {"When I can help, I suggest a setting and show you exactly which file gets which value, what you give up and "
      "how to undo it. Your system asks for your password; I keep the old value, so you can put it back in one step.",
      "Yardım edebildiğimde bir ayar önerir, hangi dosyaya hangi değerin yazılacağını, neden vazgeçeceğini ve nasıl "
      "geri alacağını gösteririm. Sistemin parolanı sorar; eski değeri saklarım, böylece tek adımda geri "
      "koyabilirsin."}},
    kMacPages[4],
};

}  // namespace

std::vector<WelcomePage> welcomePages(NightSource source, Language l) {
  std::vector<WelcomePage> pages;
  for (const PageTexts& page : laptop(source) ? kLaptopPages : kMacPages)
    pages.push_back({page.title(l), page.body(l)});
  return pages;
}

std::vector<std::string> welcomeNotificationLines(NightSource source, Language l) {
  if (laptop(source)) {
    return {Bilingual{"Once a night, when you open the lid, through the desktop’s notifications.",
                      "Gecede bir kez, kapağı açtığında, masaüstünün bildirimleriyle."}(l)};
  }
  return {Bilingual{"Once a night, when you open the lid. macOS asks for permission first.",
                    "Gecede bir kez, kapağı açtığında. macOS önce izin ister."}(l),
          Bilingual{"Needed only for the morning notification; reading the log never needs it.",
                    "Yalnızca sabah bildirimi için gerekir; kaydı okumak için hiç gerekmez."}(l)};
}

std::string settingsNotificationLine(NightSource source, Language l) {
  if (laptop(source)) return welcomeNotificationLines(source, l).front();
  return Bilingual{"Once a night, when you open the lid. macOS asks for permission the first time.",
                   "Gecede bir kez, kapağı açtığında. macOS ilk seferde izin ister."}(l);
}

LogCaption systemLogCaption(NightSource source, Language l) {
  if (laptop(source)) {
    return {Bilingual{"The system journal", "Sistem günlüğü"}(l),
            Bilingual{"until it needs the room", "yer açana kadar"}(l)};
  }
  return {Bilingual{"macOS’s own log", "macOS’in kendi kaydı"}(l), Bilingual{"about 7 nights", "yaklaşık 7 gece"}(l)};
}

std::string keptAwakeBadge(NightSource source, Language l) {
  return laptop(source) ? Bilingual{"Kept the laptop awake", "Dizüstünü uyanık tuttu"}(l)
                        : Bilingual{"Kept the Mac awake", "Mac’i uyanık tuttu"}(l);
}

std::string unreadableJournalFiles(int unreadable, int total, Language l) {
  const std::string n = std::to_string(unreadable), all = std::to_string(total), rest = std::to_string(total - unreadable);
  return l == Language::turkish ? "Günlük dosyalarından " + n + " tanesi (toplam " + all +
                                      ") okunamadı; gösterilen geceler geri kalan " + rest + " dosyadan."
                                : "Snoozlet couldn’t read " + n + " of the journal’s " + all +
                                      " files; the nights shown come from the other " + rest + ".";
}

}  // namespace snoozlet::presentation
