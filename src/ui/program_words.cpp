#include "ui/program_words.h"

#include <iterator>

#include "base/settings/locale_language.h"

namespace veltrane::ui {

const ProgramWords& ProgramWordsFor(int index) {
  static const ProgramWords kWords[] = {
      {"Das Flugmodell wurde nicht gefunden: ", "Die Landschaft wurde nicht gefunden: ",
       "Die Einstellungen konnten nicht gespeichert werden: ",
       "Das Flugmodell hat keine Geometrie: ",
       "Beim letzten Start wurde Veltrane beim Laden dieser Datei beendet; sie wird diesmal nicht "
       "geladen: ",
       "Stattdessen wird die Voreinstellung geladen: ",
       "Das Panoramabild konnte nicht gelesen werden: "},
      {"The model was not found: ", "The scenery was not found: ",
       "The settings could not be saved: ", "The model has no geometry: ",
       "Veltrane ended while loading this file at its last start; it is not loaded this time: ",
       "The default is loaded instead: ", "The panorama picture could not be read: "},
      {"Modellen hittades inte: ", "Flygfältet hittades inte: ",
       "Inställningarna kunde inte sparas: ", "Modellen har ingen geometri: ",
       "Vid senaste starten avslutades Veltrane när denna fil laddades; den laddas inte denna "
       "gång: ",
       "Standardvalet laddas i stället: ", "Panoramabilden kunde inte läsas: "},
      {"Il modello non è stato trovato: ", "Il campo volo non è stato trovato: ",
       "Non è stato possibile salvare le impostazioni: ", "Il modello non ha geometria: ",
       "All'ultimo avvio Veltrane si è chiuso durante il caricamento di questo file; questa volta "
       "non viene caricato: ",
       "Al suo posto viene caricata l'impostazione predefinita: ",
       "Non è stato possibile leggere l'immagine panoramica: "},
      {"Модель не найдена: ", "Местность не найдена: ", "Не удалось сохранить настройки: ",
       "У модели нет геометрии: ",
       "При последнем запуске Veltrane завершился во время загрузки этого файла; на этот раз он не "
       "загружается: ",
       "Вместо него загружается вариант по умолчанию: ",
       "Не удалось прочитать панорамное изображение: "},
      {"Model nebyl nalezen: ", "Letiště nebylo nalezeno: ", "Nastavení nelze uložit: ",
       "Model nemá žádnou geometrii: ",
       "Při posledním spuštění se Veltrane ukončil při načítání tohoto souboru; tentokrát se "
       "nenačte: ",
       "Místo něj se načte výchozí nastavení: ", "Panoramatický obrázek nelze načíst: "},
      {"Le modèle est introuvable : ", "Le terrain est introuvable : ",
       "Impossible d'enregistrer les réglages : ", "Le modèle n'a pas de géométrie : ",
       "Au dernier démarrage, Veltrane s'est arrêté pendant le chargement de ce fichier ; il n'est "
       "pas chargé cette fois : ",
       "Le choix par défaut est chargé à la place : ",
       "L'image panoramique n'a pas pu être lue : "},
      {"Modellen ble ikke funnet: ", "Flyplassen ble ikke funnet: ",
       "Innstillingene kunne ikke lagres: ", "Modellen har ingen geometri: ",
       "Ved forrige oppstart ble Veltrane avsluttet mens denne filen ble lastet; den lastes ikke "
       "denne gangen: ",
       "Standardvalget lastes i stedet: ", "Panoramabildet kunne ikke leses: "},
      {"O modelo não foi encontrado: ", "O campo não foi encontrado: ",
       "Não foi possível salvar as configurações: ", "O modelo não tem geometria: ",
       "Na última inicialização o Veltrane foi encerrado ao carregar este arquivo; desta vez ele "
       "não será carregado: ",
       "Em seu lugar é carregado o padrão: ", "Não foi possível ler a imagem panorâmica: "},
      {"No se encontró el modelo: ", "No se encontró el campo: ",
       "No se pudo guardar la configuración: ", "El modelo no tiene geometría: ",
       "En el último inicio Veltrane se cerró al cargar este archivo; esta vez no se carga: ",
       "En su lugar se carga el valor predeterminado: ", "No se pudo leer la imagen panorámica: "},
      {"Nie znaleziono modelu: ", "Nie znaleziono lotniska: ", "Nie można zapisać ustawień: ",
       "Model nie ma geometrii: ",
       "Przy ostatnim uruchomieniu Veltrane zakończył działanie podczas wczytywania tego pliku; "
       "tym razem nie zostanie wczytany: ",
       "Zamiast niego wczytywane jest ustawienie domyślne: ",
       "Nie udało się odczytać obrazu panoramy: "},
      {"機体が見つかりません: ", "フィールドが見つかりません: ", "設定を保存できませんでした: ",
       "機体に形状データがありません: ",
       "前回の起動時、このファイルの読み込み中に Veltrane が終了しました。今回は読み込みません: ",
       "代わりに既定のものを読み込みます: ", "パノラマ画像を読み込めません: "},
      {"Model sa nenašiel: ", "Letisko sa nenašlo: ", "Nastavenia sa nepodarilo uložiť: ",
       "Model nemá žiadnu geometriu: ",
       "Pri poslednom spustení sa Veltrane ukončil pri načítaní tohto súboru; tentoraz sa "
       "nenačíta: ",
       "Namiesto neho sa načíta predvolené nastavenie: ",
       "Panoramatický obrázok sa nepodarilo načítať: "},
      {"Το μοντέλο δεν βρέθηκε: ", "Το τοπίο δεν βρέθηκε: ",
       "Δεν ήταν δυνατή η αποθήκευση των ρυθμίσεων: ", "Το μοντέλο δεν έχει γεωμετρία: ",
       "Στην τελευταία εκκίνηση το Veltrane τερματίστηκε κατά τη φόρτωση αυτού του αρχείου· αυτή "
       "τη φορά δεν φορτώνεται: ",
       "Αντί αυτού φορτώνεται η προεπιλογή: ",
       "Η πανοραμική εικόνα δεν ήταν δυνατό να διαβαστεί: "},
      {"Modellen blev ikke fundet: ", "Flyvepladsen blev ikke fundet: ",
       "Indstillingerne kunne ikke gemmes: ", "Modellen har ingen geometri: ",
       "Ved sidste start blev Veltrane afsluttet under indlæsning af denne fil; den indlæses ikke "
       "denne gang: ",
       "Standardvalget indlæses i stedet: ", "Panoramabilledet kunne ikke læses: "},
      {"Het model is niet gevonden: ", "Het vliegveld is niet gevonden: ",
       "De instellingen konden niet worden opgeslagen: ", "Het model heeft geen geometrie: ",
       "Bij de laatste start werd Veltrane afgesloten tijdens het laden van dit bestand; het wordt "
       "deze keer niet geladen: ",
       "In plaats daarvan wordt de standaard geladen: ",
       "De panoramafoto kon niet worden gelezen: "},
      {"未找到模型: ", "未找到场地: ", "无法保存设置: ", "模型没有几何数据: ",
       "上次启动时 Veltrane 在载入此文件时退出;本次不载入: ", "改为载入默认项: ",
       "无法读取全景图片: "},
      {"找不到模型: ", "找不到場地: ", "無法儲存設定: ", "模型沒有幾何資料: ",
       "上次啟動時 Veltrane 在載入此檔案時結束;本次不載入: ", "改為載入預設項目: ",
       "無法讀取全景圖片: "},
  };
  static_assert(std::size(kWords) == lang::kCount);
  return lang::IsIndex(index) ? kWords[index] : kWords[lang::kGerman];
}

}  // namespace veltrane::ui
