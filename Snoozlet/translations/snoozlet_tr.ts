<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr_TR">
<context>
    <name>QObject</name>
    <message>
        <source>My notebook</source>
        <translation>Benim defterim</translation>
    </message>
    <message>
        <source>every night I’ve read</source>
        <translation>okuduğum her gece</translation>
    </message>
</context>
<context>
    <name>XdgLoginItem</name>
    <message>
        <source>The program’s path holds a line break and can’t start at login.</source>
        <translation>Programın yolunda satır sonu var; oturum açılışında başlatılamaz.</translation>
    </message>
    <message>
        <source>Couldn’t remove %1: %2</source>
        <translation>%1 silinemedi: %2</translation>
    </message>
    <message>
        <source>Couldn’t create the folder %1: %2</source>
        <translation>%1 klasörü oluşturulamadı: %2</translation>
    </message>
    <message>
        <source>Couldn’t write %1: %2</source>
        <translation>%1 yazılamadı: %2</translation>
    </message>
</context>
<context>
    <name>snoozlet::shell::AppActions</name>
    <message>
        <source>Open Snoozlet</source>
        <translation>Snoozlet’i Aç</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Yenile</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Ayarlar…</translation>
    </message>
    <message>
        <source>How It Works</source>
        <translation>Nasıl Çalışır</translation>
    </message>
    <message>
        <source>About Snoozlet</source>
        <translation>Snoozlet Hakkında</translation>
    </message>
    <message>
        <source>Close Window</source>
        <translation>Pencereyi Kapat</translation>
    </message>
    <message>
        <source>Quit Snoozlet</source>
        <translation>Snoozlet’ten Çık</translation>
    </message>
</context>
<context>
    <name>snoozlet::shell::MainWindow</name>
    <message>
        <source>Help</source>
        <translation>Yardım</translation>
    </message>
</context>
<context>
    <name>snoozlet::views::AboutView</name>
    <message>
        <source>About Snoozlet</source>
        <translation>Snoozlet Hakkında</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Sürüm %1</translation>
    </message>
    <message>
        <source>Every morning Snoozlet tells you how your laptop slept: who woke it in the dark, who kept it awake, and where the battery went.</source>
        <translation>Snoozlet her sabah dizüstü bilgisayarının nasıl uyuduğunu anlatır: karanlıkta onu kim uyandırdı, kim uyanık tuttu, pil nereye gitti.</translation>
    </message>
    <message>
        <source>Free software under the MIT License.</source>
        <translation>MIT Lisansı altında özgür yazılım.</translation>
    </message>
</context>
<context>
    <name>snoozlet::views::DrainStrip</name>
    <message>
        <source>Battery drain per night</source>
        <translation>Gece başına pil kaybı</translation>
    </message>
</context>
<context>
    <name>snoozlet::views::HistoryPage</name>
    <message>
        <source>Archived nights</source>
        <translation>Saklanan geceler</translation>
    </message>
</context>
<context>
    <name>snoozlet::views::MascotView</name>
    <message>
        <source>The Snoozlet, %1</source>
        <translation>Snoozlet, %1</translation>
    </message>
</context>
<context>
    <name>snoozlet::views::MenuBarView</name>
    <message>
        <source>Open Snoozlet</source>
        <translation>Snoozlet’i Aç</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Diğer</translation>
    </message>
</context>
<context>
    <name>snoozlet::views::NightPage</name>
    <message>
        <source>What woke me</source>
        <translation>Beni ne uyandırdı</translation>
    </message>
    <message>
        <source>I didn’t wake up once.</source>
        <translation>Bir kez bile uyanmadım.</translation>
    </message>
    <message>
        <source>Who set the alarm</source>
        <translation>Alarmı kim kurdu</translation>
    </message>
    <message>
        <source>No scheduled wakes matched.</source>
        <translation>Eşleşen zamanlanmış uyanma yok.</translation>
    </message>
    <message>
        <source>Who held the lamp</source>
        <translation>Lambayı kim açık tuttu</translation>
    </message>
    <message>
        <source>Nobody kept me up.</source>
        <translation>Kimse beni uyanık tutmadı.</translation>
    </message>
</context>
<context>
    <name>snoozlet::views::NightRibbon</name>
    <message>
        <source>Night ribbon</source>
        <translation>Gece şeridi</translation>
    </message>
</context>
<context>
    <name>snoozlet::views::NoticeLine</name>
    <message>
        <source>Dismiss</source>
        <translation>Kapat</translation>
    </message>
</context>
<context>
    <name>snoozlet::views::OptionsPanel</name>
    <message>
        <source>On</source>
        <translation>Açık</translation>
    </message>
    <message>
        <source>Not allowed</source>
        <translation>İzin verilmedi</translation>
    </message>
    <message>
        <source>Turn On</source>
        <translation>Aç</translation>
    </message>
    <message>
        <source>Morning report notification</source>
        <translation>Sabah raporu bildirimi</translation>
    </message>
    <message>
        <source>Open at login</source>
        <translation>Oturum açılınca başlat</translation>
    </message>
    <message>
        <source>Turn On %1</source>
        <translation>%1: Aç</translation>
    </message>
</context>
<context>
    <name>snoozlet::views::PageDots</name>
    <message>
        <source>Page %1 of %2</source>
        <translation>Sayfa %1 / %2</translation>
    </message>
</context>
<context>
    <name>snoozlet::views::SettingsView</name>
    <message>
        <source>Plain mode</source>
        <translation>Sade mod</translation>
    </message>
    <message>
        <source>Morning report notification</source>
        <translation>Sabah raporu bildirimi</translation>
    </message>
    <message>
        <source>Open at login</source>
        <translation>Oturum açılınca başlat</translation>
    </message>
    <message>
        <source>Snoozlet Settings</source>
        <translation>Snoozlet Ayarları</translation>
    </message>
    <message>
        <source>The Snoozlet stays quiet: the morning report becomes a plain one-line summary.</source>
        <translation>Snoozlet sessiz kalır: sabah raporu tek satırlık sade bir özete dönüşür.</translation>
    </message>
    <message>
        <source>No notification service answered, so the morning report can’t be posted.</source>
        <translation>Hiçbir bildirim hizmeti yanıt vermedi; bu yüzden sabah raporu gönderilemiyor.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Sürüm %1</translation>
    </message>
    <message>
        <source>How It Works</source>
        <translation>Nasıl Çalışır</translation>
    </message>
    <message>
        <source>About Snoozlet</source>
        <translation>Snoozlet Hakkında</translation>
    </message>
</context>
<context>
    <name>snoozlet::views::Sidebar</name>
    <message>
        <source>Nights and pages</source>
        <translation>Geceler ve sayfalar</translation>
    </message>
</context>
<context>
    <name>snoozlet::views::SidebarModel</name>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1, battery %2</source>
        <translation>%1, pil %2</translation>
    </message>
    <message>
        <source>Nights</source>
        <translation>Geceler</translation>
    </message>
    <message>
        <source>Daytime naps</source>
        <translation>Gündüz uykuları</translation>
    </message>
    <message>
        <source>Sleep settings</source>
        <translation>Uyku ayarları</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>Pil</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Geçmiş</translation>
    </message>
</context>
<context>
    <name>snoozlet::views::WelcomeView</name>
    <message>
        <source>Skip</source>
        <translation>Geç</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Geri</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>İleri</translation>
    </message>
    <message>
        <source>How It Works</source>
        <translation>Nasıl Çalışır</translation>
    </message>
    <message>
        <source>How it works · %1 of %2</source>
        <translation>Nasıl çalışır · %1 / %2</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Başla</translation>
    </message>
</context>
</TS>
